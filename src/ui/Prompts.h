#pragma once

#include <QString>

// Every question and message the program puts to the user goes through here, so tests
// can script the answers.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Question, Critical };

    virtual ~Prompts() = default;
    // A plain box with one OK, captioned with the application title.
    virtual void message(const QString &text) = 0;
    // OK/Cancel; true for OK.
    virtual bool confirm(const QString &caption, const QString &text, Icon icon) = 0;
    virtual void critical(const QString &caption, const QString &text) = 0;
    // A one-line input box; *ok is false when the user cancelled.
    virtual QString inputText(const QString &caption, const QString &prompt, const QString &initial, bool *ok) = 0;
    // The save dialog, starting in folder (or in its folder with the file name given);
    // empty when cancelled.
    virtual QString saveFileName(const QString &folder, const QString &filter, const QString &defaultSuffix,
                                 bool askOverwrite) = 0;
    // A folder chosen in the folder dialog, starting in folder; empty when cancelled (and from
    // prompts that cannot show one).
    virtual QString existingFolder(const QString &caption, const QString &folder)
    {
        Q_UNUSED(caption);
        Q_UNUSED(folder);
        return {};
    }
};
