#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

const QString kKey = u"interface/language"_s;

// The translators in force, owned by the application.
struct Installed {
    Language language = Language::Chinese;
    QPointer<QTranslator> program;
    QPointer<QTranslator> qt;
};

Installed &installed()
{
    static Installed state;
    return state;
}

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Quillon"_s, u"Quillon"_s);
}

void remove(QPointer<QTranslator> &translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// The translator of a .qm file, in force; null when the file cannot be loaded.
QTranslator *load(const QString &file, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

const QCollator &InterfaceLanguage::textCollator()
{
    // Made ready on first use (a collator sets itself up on its first comparison), so
    // the catalogue's collation may compare from any thread afterwards.
    const auto make = [](QLocale::Language language, QLocale::Territory territory) {
        QCollator collator{QLocale(language, territory)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
        collator.compare(u"a"_s, u"b"_s);
        return collator;
    };
    static const QCollator chinese = make(QLocale::Chinese, QLocale::China);
    static const QCollator english = make(QLocale::English, QLocale::UnitedStates);
    return current() == Language::English ? english : chinese;
}

QString InterfaceLanguage::code(Language language)
{
    return language == Language::English ? u"en"_s : u"zh_CN"_s;
}

Language InterfaceLanguage::saved()
{
    return settings().value(kKey).toString() == code(Language::English) ? Language::English : Language::Chinese;
}

void InterfaceLanguage::save(Language language)
{
    settings().setValue(kKey, code(language));
}

Language InterfaceLanguage::current()
{
    return installed().language;
}

bool InterfaceLanguage::apply(Language language)
{
    Installed &state = installed();
    remove(state.program);
    remove(state.qt);
    state.language = language;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    state.qt = load(u"qtbase_"_s + code(language), qtFolder);
    if (language == Language::Chinese)
        return !state.qt.isNull();
    state.program = load(u"quillon_"_s + code(language), u":/i18n"_s);
    return !state.program.isNull() && !state.qt.isNull();
}
