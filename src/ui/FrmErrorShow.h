#pragma once

#include <QDialog>

class QFrame;
class QPlainTextEdit;
class QPushButton;

// The program's error dialog: a short message, and on request the details below it.
class TfrmErrorShow : public QDialog {
    Q_OBJECT
public:
    explicit TfrmErrorShow(QWidget *parent = nullptr);

    // Called once, before the dialog is shown.
    void Fill(const QString &message, const QString &details, const QString &caption);

    void Collapse();
    void Expand();
    bool expanded() const;

public slots:
    void bbtnDetailClick();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormShow();
    // Sets every text of the dialog's own in the interface's language; a caption given
    // to Fill stays.
    void retranslateUi();
    int px(int designPixels) const;
    void setClientHeight(int height);

    QFrame *Panel1;
    QFrame *Panel2;
    QFrame *Panel3;
    QFrame *Panel4;
    QPlainTextEdit *memChnInfo;
    QPlainTextEdit *memDetailInfo;
    QPushButton *bbtnDetail;
    QPushButton *bbtnClose;
    QString m_caption;
    // What the details button offers: false "show", true "hide".
    bool m_detailsShown = false;
    qreal m_scale;
    int m_detailsHeight;
};
