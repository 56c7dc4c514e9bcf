#include "SqlFunctions.h"

#include "PinyinReading.h"

#include "language/Language.h"

#include <QCollator>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>

namespace {

void ucase(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    if (!text) {
        // The engine had no memory left to give the value as text.
        sqlite3_result_error_nomem(context);
        return;
    }
    const int size = sqlite3_value_bytes(argv[0]);
    std::string upper(text, size_t(size));
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    sqlite3_result_text(context, upper.data(), size, SQLITE_TRANSIENT);
}

bool isAscii(const char *text, int size)
{
    for (int i = 0; i < size; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// Pinyin(text, part): the text's reading, part 0 in full, 1 by initials, 2 as the search
// index holds it; NULL for a text without Chinese characters or full-width forms.
void pinyin(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    if (!text || isAscii(text, size)) {
        sqlite3_result_null(context);
        return;
    }
    const int part = std::clamp(sqlite3_value_int(argv[1]), 0, 2);
    // A search asks for the full reading and the initials of a value one after the other, and
    // the files of a folder share its value: the last value's readings are kept.
    thread_local std::string lastValue;
    thread_local std::array<std::optional<QByteArray>, 3> lastReadings;
    if (lastValue.size() != size_t(size) || lastValue.compare(0, size_t(size), text, size_t(size)) != 0) {
        lastValue.assign(text, size_t(size));
        lastReadings = {};
    }
    std::optional<QByteArray> &reading = lastReadings[size_t(part)];
    if (!reading) {
        const QString value = QString::fromUtf8(text, size);
        reading = (part == 2 ? PinyinReading::indexedText(value)
                             : PinyinReading::spell(value, part == 1 ? PinyinReading::Part::Initials
                                                                     : PinyinReading::Part::Full))
                      .toUtf8();
    }
    if (reading->isEmpty()) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_text(context, reading->constData(), int(reading->size()), SQLITE_TRANSIENT);
}

// The order of the interface language, as every list of the program sorts names.
int localeCompare(void *, int size1, const void *text1, int size2, const void *text2)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(text1), size1);
    const QString b = QString::fromUtf8(static_cast<const char *>(text2), size2);
    return InterfaceLanguage::textCollator().compare(a, b);
}

} // namespace

sqlite3 *nativeSqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

bool insideTransaction(const QSqlDatabase &db)
{
    sqlite3 *handle = nativeSqliteHandle(db);
    return handle && sqlite3_get_autocommit(handle) == 0;
}

bool registerSqlFunctions(const QSqlDatabase &db)
{
    sqlite3 *handle = nativeSqliteHandle(db);
    if (!handle)
        return false;
    // Direct statements only: a trigger or view of a file from someone else cannot call them.
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY;
    if (sqlite3_create_function_v2(handle, "UCase", 1, flags, nullptr, ucase, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_create_function_v2(handle, "Pinyin", 2, flags, nullptr, pinyin, nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    return sqlite3_create_collation_v2(handle, "LOCALE", SQLITE_UTF8, nullptr, localeCompare, nullptr) == SQLITE_OK;
}
