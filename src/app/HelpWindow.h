#pragma once

#include "ui/FrmRoot.h"

#include <QDialog>

class Prompts;
class QPushButton;
class QTextBrowser;

// The user manual in a window of the program's own: its pictures and links, in the
// interface's language, so it reads without a web browser. A button opens the same page
// in the browser; links that leave the manual open there too.
class THelpWindow : public TfrmRoot<QDialog> {
    Q_OBJECT
public:
    // helpDir: the folder holding Quillon.html, Quillon.en.html and their pictures.
    THelpWindow(const QString &helpDir, Prompts &prompts, QWidget *parent = nullptr);

    // The manual of a language: Quillon.html is the Chinese one.
    static QString manualFile(const QString &helpDir, bool english);
    // Shows the manual of the interface's language from its beginning.
    void showManual();
    QTextBrowser *browser() const { return m_browser; }
    QPushButton *openInBrowser() const { return m_openInBrowser; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void openExternally(const QUrl &url);

    QString m_helpDir;
    Prompts &m_prompts;
    QTextBrowser *m_browser;
    QPushButton *m_openInBrowser;
    QPushButton *m_close;
};
