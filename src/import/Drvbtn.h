#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QToolButton;

// One drive of the drive bar: a picture button with the drive's caption below it. A click
// on the picture reports the drive's letter.
class TDrvbtn : public QWidget {
    Q_OBJECT
public:
    explicit TDrvbtn(QWidget *parent = nullptr);

    char DrvName() const { return m_drvName; }
    void setDrvName(char letter) { m_drvName = letter; }
    QPixmap Glyph() const { return m_glyph; }
    void setGlyph(const QPixmap &glyph);
    QString Text() const;
    void setText(const QString &text);

    QToolButton *ImageButton;
    QLabel *TextLabel;

signals:
    void OnDrvClick(QObject *sender, char drvName);

private:
    char m_drvName = 'C';
    QPixmap m_glyph;
};
