#pragma once

class QSqlDatabase;
struct sqlite3;

// The SQLite handle under a Qt connection, or nullptr.
sqlite3 *nativeSqliteHandle(const QSqlDatabase &db);

// True while a transaction is open on the connection.
bool insideTransaction(const QSqlDatabase &db);

// Registers on an open connection what the program's statements rely on:
// UCase(text), ASCII upper-case; Pinyin(text, part), the pinyin of PinyinReading; and the
// collation LOCALE, the interface language's order with letter case ignored
// (InterfaceLanguage::textCollator), which orders the discs the way the tree sorts them.
// No trigger or table uses them: the sqlite3 command can still read and write a
// catalogue. The functions are for direct statements only (SQLITE_DIRECTONLY): no trigger
// or view can call them.
// Returns false when the connection has no native SQLite handle.
bool registerSqlFunctions(const QSqlDatabase &db);
