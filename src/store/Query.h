#pragma once

#include "DbError.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSqlQuery;
class TQuery;

enum class FieldKind { Integer, Text, Memo, DateTime };

// A field defined with the query: it exists while the query is closed.
struct TFieldDef {
    QString name;
    QString displayLabel;
    int tag = 0;
    FieldKind kind = FieldKind::Text;
};

// One column of the query's current row (or of its edit buffer while editing).
class TField {
public:
    TField(TQuery *query, int column)
        : m_query(query)
        , m_column(column)
    {
    }
    QString FieldName() const;
    QVariant Value() const;
    bool IsNull() const;
    qint64 AsInteger() const;
    QString AsString() const;
    // Only while the query is in edit or insert state.
    void SetValue(const QVariant &value);

private:
    TQuery *m_query;
    int m_column;
};

// A named query on the catalogue: statement lines and their bound values, a static
// cursor over the rows it read, and row operations (append, edit, post, cancel,
// delete) that become INSERT, UPDATE and DELETE on its table by its key.
class TQuery : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // The answer of an error handler to a failed row operation.
    enum class ErrorAction { Fail, Abort, Retry };
    using ErrorHandler = std::function<ErrorAction(TQuery &, const DbError &)>;

    TQuery(const QString &name, const QString &connectionName, QObject *parent = nullptr);
    ~TQuery() override;

    // The table that row operations change and its key column. With hiddenKey the
    // key (SQLite's rowid) is fetched as an extra first column the statement does not name.
    void setUpdateTable(const QString &table, const QString &key, bool hiddenKey = false);
    void setOnError(ErrorHandler handler) { m_onError = std::move(handler); }
    // A streaming query counts its rows first and then reads them one by one as the
    // cursor moves, holding none of them: for long forward walks. It cannot locate or
    // change rows; First() after moving on runs the statement again.
    void setStreaming(bool streaming) { m_streaming = streaming; }

    QStringList &SQL() { return m_sql; }
    const QStringList &SQL() const { return m_sql; }
    QVariantList &Params() { return m_params; }
    const QVariantList &Params() const { return m_params; }
    // The statement as sent: every line followed by CR LF.
    QString statementText() const;

    QList<TFieldDef> &FieldDefs() { return m_fieldDefs; }
    const QList<TFieldDef> &FieldDefs() const { return m_fieldDefs; }

    void Open();
    void Close();
    // Runs a statement that returns no rows; returns the number of rows it changed.
    int ExecSQL();
    // The rowid the last ExecSQL inserted (the key of an AUTOINCREMENT table).
    qint64 LastInsertId() const { return m_lastInsertId; }
    // Drops the prepared statement kept for repeated runs of the same text.
    void releaseStatement();

    bool Active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    void First();
    void Next();
    bool Eof() const { return m_eof; }
    // A streaming query counts its rows when first asked (a statement of its own), not
    // when it opens: a caller that walks the rows never pays for the count.
    int RecordCount() const { return m_streaming ? streamCount() : int(m_rows.size()); }
    int RecNo() const { return m_current; }
    QStringList columnNames() const { return m_columns; }
    QString connectionName() const { return m_connectionName; }

    TField FieldByName(const QString &name);
    int fieldIndex(const QString &name) const;

    // Moves to the first row whose field equals value, letter case ignored.
    bool Locate(const QString &field, const QVariant &value);

    void Append();
    void Edit();
    // Returns false when the error handler abandoned the operation.
    [[nodiscard]] bool Post();
    void Cancel();
    [[nodiscard]] bool Delete();

    // Hints kept for the callers' sake; the views are models and need no suspending.
    void DisableControls() {}
    void EnableControls() {}

private:
    friend class TField;
    QVariant cellValue(int column) const;
    void setCellValue(int column, const QVariant &value);
    void requireBrowse(const char *operation) const;
    void requireRow(const char *operation) const;
    QSqlQuery &prepared(const QString &text);
    void readRows(QSqlQuery &query);
    void openStream(const QString &text);
    int countRows(const QString &text) const;
    int streamCount() const;
    void takeColumns(const QSqlQuery &query);
    bool runGuarded(const std::function<void()> &operation);
    void postInsert();
    void postEdit();
    void deleteCurrent();
    QString quotedTable() const;

    QString m_connectionName;
    QStringList m_sql;
    QVariantList m_params;
    QList<TFieldDef> m_fieldDefs;
    QString m_table;
    QString m_key;
    bool m_hiddenKey = false;
    bool m_streaming = false;
    mutable std::optional<int> m_streamCount;
    QString m_streamText;
    bool m_streamHadRows = false;
    ErrorHandler m_onError;

    std::unique_ptr<QSqlQuery> m_statement;
    QString m_statementText;
    qint64 m_lastInsertId = 0;

    State m_state = State::Inactive;
    QStringList m_columns;
    std::vector<QVariantList> m_rows;
    int m_current = 0;
    bool m_eof = true;
    QVariantList m_buffer;
    QSet<int> m_modified;
};
