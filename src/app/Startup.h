#pragma once

#include <QString>

class InstanceServer;
class Prompts;
class TLCommBusiness;
class TLCommFunction;

// The program's run once the application object exists: names and title, data module,
// main window, event loop, and the shut-down in reverse (main window, then the data
// module, which compacts the catalogue).
class Startup {
public:
    // Runs the program on the catalogue file; programDir holds the program's own files.
    // Later starts for the same catalogue ask instanceServer to bring the window forward.
    static int run(const QString &programDir, const QString &catalogueFile, TLCommFunction &commFunction,
                   TLCommBusiness &commBusiness, Prompts &prompts, InstanceServer *instanceServer = nullptr);
    // The names under which the program's folders are found (~/.local/share/Quillon/).
    static void nameApplication();
    static QString applicationTitle();
};
