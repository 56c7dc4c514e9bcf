#pragma once

#include <QPixmap>
#include <QScrollArea>
#include <QStringList>

class TCrCdA;
class TDrvbtn;

// A scrolling column of drive buttons, one per CD-ROM drive, 80 pixels apart and centred.
// The drives are looked up on the first activation and kept for the bar's lifetime.
class TDrvList : public QScrollArea {
    Q_OBJECT
public:
    explicit TDrvList(QWidget *parent = nullptr);

    bool Active() const { return m_active; }
    void setActive(bool active);
    QPixmap Glyph() const { return m_glyph; }
    void setGlyph(const QPixmap &glyph);
    const QList<TDrvbtn *> &Buttons() const { return m_buttons; }

signals:
    void OnDrvClick(QObject *sender, char drvName);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void LoadDrives();
    void CreateButtons();
    void CenterButtons();

    bool m_active = false;
    QPixmap m_glyph;
    TCrCdA *m_enumerator = nullptr;
    QStringList m_codeList;
    QList<TDrvbtn *> m_buttons;
    QWidget *m_content;
};
