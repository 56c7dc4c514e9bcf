#pragma once

#include "Prompts.h"

class QWidget;

// Prompts shown with Qt's standard dialogs, over the active window.
class QtPrompts : public Prompts {
public:
    void message(const QString &text) override;
    bool confirm(const QString &caption, const QString &text, Icon icon) override;
    void critical(const QString &caption, const QString &text) override;
    QString inputText(const QString &caption, const QString &prompt, const QString &initial, bool *ok) override;
    QString saveFileName(const QString &folder, const QString &filter, const QString &defaultSuffix,
                         bool askOverwrite) override;
    QString existingFolder(const QString &caption, const QString &folder) override;

private:
    static QWidget *owner();
};
