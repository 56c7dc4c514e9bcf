#pragma once

#include "SearchCondition.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a search of the file records looks for: the columns searched, and the text as the
// patterns the statement binds. The store alone turns it into a statement (SearchStatement).
struct FileSearchRequest {
    // The searchable columns of a file record, in the order the search dialog offers them.
    enum class Column { FileName, FileSize, FileData, FilePath };

    // The searched columns, each once, in the order they were ticked in the list.
    QList<Column> columns;
    // SearchCondition::pattern of the search text; empty for an empty text, which finds
    // every file record.
    QString pattern;
    // SearchCondition::readingPattern when the pinyin of names and folders is searched too;
    // empty otherwise.
    QString readingPattern;

    // The request for a search text over these columns, also by pinyin when asked.
    static FileSearchRequest forText(const QString &text, const QList<Column> &columns, bool pinyin)
    {
        return {columns, SearchCondition::pattern(text), pinyin ? SearchCondition::readingPattern(text) : QString()};
    }
    // True when the request puts no condition on the rows: every file record is a hit.
    bool findsEverything() const { return pattern.isEmpty() || columns.isEmpty(); }

    // The column of a record's field name ("FileName", …), none for another field.
    static std::optional<Column> columnNamed(const QString &fieldName)
    {
        const qsizetype i = fieldNames().indexOf(fieldName);
        return i < 0 ? std::nullopt : std::optional<Column>(Column(i));
    }
    static QString fieldName(Column column) { return fieldNames().at(qsizetype(column)); }
    static const QStringList &fieldNames()
    {
        static const QStringList names{QStringLiteral("FileName"), QStringLiteral("FileSize"),
                                       QStringLiteral("FileData"), QStringLiteral("FilePath")};
        return names;
    }
    bool operator==(const FileSearchRequest &) const = default;
};
