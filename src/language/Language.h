#pragma once

#include <QCollator>
#include <QString>

// The languages of the interface. Every text of the program is written in Chinese, so
// Chinese needs no translation of the program's own; English comes from the program's
// translation file, built into the program.
enum class Language { Chinese, English };

// The language the interface speaks: the program's texts and Qt's own (dialogs, buttons),
// and the choice remembered for the next start.
class InterfaceLanguage {
public:
    // The language chosen last time; Chinese when none was ever chosen, whatever the
    // system's locale.
    static Language saved();
    static void save(Language language);

    // Puts the language's translations in force; every widget then receives
    // QEvent::LanguageChange. False when a translation could not be loaded (the texts
    // it would have changed stay as they were).
    static bool apply(Language language);
    static Language current();

    // How the settings file and file names spell the language: "zh_CN", "en".
    static QString code(Language language);

    // The order of names in every list and in the catalogue's LOCALE collation: the
    // interface language's, not the system locale's, so Chinese names sort by pinyin in
    // the Chinese interface whatever LANG says. Ignores case.
    static const QCollator &textCollator();
};
