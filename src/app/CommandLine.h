#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's command line: --help, --version, --cd-image PATH (repeatable) and
// --catalogue PATH, beside the options Qt itself takes (-platform, -style, …).
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Outcome { Run, Help, Version, Error };

    Outcome outcome = Outcome::Run;
    QString text;          // the help, version or error text to print
    QString catalogueFile; // empty: the catalogue is looked for as usual

    // Reads the arguments (the program's name first); programDir is where the program's
    // portable catalogue would be, for the help text.
    static CommandLine parse(const QStringList &arguments, const QString &programDir);
};
