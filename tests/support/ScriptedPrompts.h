#pragma once

#include "ui/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Prompts that answer from a script and record what was asked.
class ScriptedPrompts : public Prompts {
public:
    struct Call {
        QString kind; // "message", "confirm", "critical", "input", "save", "folder"
        QString caption;
        QString text;
        QString initial;
        Icon icon = Icon::None;
    };

    QList<Call> calls;
    QQueue<bool> confirmAnswers;        // default: OK
    QQueue<QString> inputAnswers;       // a null QString cancels; empty queue cancels
    QQueue<QString> saveAnswers;        // empty queue cancels
    QQueue<QString> folderAnswers;      // empty queue cancels
    QStringList saveFolders;

    void message(const QString &text) override { calls.append({QStringLiteral("message"), {}, text, {}, Icon::None}); }
    bool confirm(const QString &caption, const QString &text, Icon icon) override
    {
        calls.append({QStringLiteral("confirm"), caption, text, {}, icon});
        return confirmAnswers.isEmpty() ? true : confirmAnswers.dequeue();
    }
    void critical(const QString &caption, const QString &text) override
    {
        calls.append({QStringLiteral("critical"), caption, text, {}, Icon::Critical});
    }
    QString inputText(const QString &caption, const QString &prompt, const QString &initial, bool *ok) override
    {
        calls.append({QStringLiteral("input"), caption, prompt, initial, Icon::None});
        const QString answer = inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
        if (ok)
            *ok = !answer.isNull();
        return answer;
    }
    QString saveFileName(const QString &folder, const QString &filter, const QString &defaultSuffix,
                         bool askOverwrite) override
    {
        calls.append({QStringLiteral("save"), filter, defaultSuffix, askOverwrite ? QStringLiteral("ask") : QStringLiteral("no-ask"), Icon::None});
        saveFolders.append(folder);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }

    QString existingFolder(const QString &caption, const QString &folder) override
    {
        calls.append({QStringLiteral("folder"), caption, folder, QString(), Icon::None});
        return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
    }

    QStringList kinds() const
    {
        QStringList out;
        for (const Call &call : calls)
            out.append(call.kind);
        return out;
    }
};
