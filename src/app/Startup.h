#pragma once

#include <QString>

class Prompts;
class TLCommBusiness;
class TLCommFunction;

// The program's run once the application object exists: title, data module, main
// window, event loop, and the shut-down in reverse (main window, then the data module,
// which compacts the catalogue).
class Startup {
public:
    static int run(const QString &programDir, TLCommFunction &commFunction, TLCommBusiness &commBusiness,
                   Prompts &prompts);
    static QString applicationTitle();
};
