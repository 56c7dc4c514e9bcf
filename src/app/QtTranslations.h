#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts in Simplified Chinese (qtbase_zh_CN.qm from Qt's translations), so the
// standard dialogs and buttons speak the program's language whatever the system's is.
class QtTranslations {
public:
    // The translator put in force, owned by the application; nothing when Qt's
    // translations are not installed (the dialogs then stay in English).
    static QTranslator *install(QCoreApplication &app);
};
