#include "Query.h"

#include "Statement.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace {

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

// "select a, b from t" → "select rowid AS "rowid", a, b from t"
QString withHiddenKey(const QString &text, const QString &key)
{
    static const QRegularExpression select(u"^\\s*select\\s"_s, QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = select.match(text);
    if (!m.hasMatch())
        return text;
    return text.left(m.capturedEnd()) + key + u" AS "_s + quoteIdentifier(key) + u", "_s + text.mid(m.capturedEnd());
}

bool sameValue(const QVariant &cell, const QVariant &value)
{
    if (cell.isNull() || value.isNull())
        return cell.isNull() && value.isNull();
    return QString::compare(cell.toString(), value.toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString TField::FieldName() const
{
    return m_query->m_columns.value(m_column);
}

QVariant TField::Value() const
{
    return m_query->cellValue(m_column);
}

bool TField::IsNull() const
{
    return Value().isNull();
}

qint64 TField::AsInteger() const
{
    return Value().toLongLong();
}

QString TField::AsString() const
{
    return Value().toString();
}

void TField::SetValue(const QVariant &value)
{
    m_query->setCellValue(m_column, value);
}

TQuery::TQuery(const QString &name, const QString &connectionName, QObject *parent)
    : QObject(parent)
    , m_connectionName(connectionName)
{
    setObjectName(name);
}

TQuery::~TQuery() = default;

void TQuery::setUpdateTable(const QString &table, const QString &key, bool hiddenKey)
{
    m_table = table;
    m_key = key;
    m_hiddenKey = hiddenKey;
}

QString TQuery::statementText() const
{
    QString text;
    for (const QString &line : m_sql)
        text += line + u"\r\n"_s;
    return text;
}

QSqlQuery &TQuery::prepared(const QString &text)
{
    if (!m_statement || m_statementText != text) {
        m_statement.reset();
        auto query = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connectionName, false));
        query->setForwardOnly(true);
        prepareStatement(*query, text);
        m_statement = std::move(query);
        m_statementText = text;
    }
    return *m_statement;
}

void TQuery::releaseStatement()
{
    m_statement.reset();
    m_statementText.clear();
}

void TQuery::Open()
{
    if (Active())
        return;
    QString text = statementText();
    if (m_hiddenKey)
        text = withHiddenKey(text, m_key);
    if (m_streaming) {
        openStream(text);
        return;
    }
    QSqlQuery &query = prepared(text);
    bindAndRun(query, m_params);
    if (!query.isSelect()) {
        query.finish();
        throw DbError(QCoreApplication::translate("TQuery", "语句没有返回记录集"));
    }
    readRows(query);
    query.finish();
}

void TQuery::takeColumns(const QSqlQuery &query)
{
    const QSqlRecord record = query.record();
    m_columns.clear();
    for (int i = 0; i < record.count(); ++i)
        m_columns.append(record.fieldName(i));
}

int TQuery::streamCount() const
{
    if (!Active())
        return m_streamCount.value_or(0);
    if (!m_streamCount)
        m_streamCount = countRows(m_streamText);
    return *m_streamCount;
}

int TQuery::countRows(const QString &text) const
{
    QSqlQuery count = runStatement(m_connectionName, u"SELECT count(*) FROM ("_s + text + u")"_s, m_params);
    if (!count.next())
        throw DbError(engineMessage(count.lastError()));
    return count.value(0).toInt();
}

void TQuery::openStream(const QString &text)
{
    m_streamCount.reset();
    m_streamText = text;
    QSqlQuery &query = prepared(text);
    bindAndRun(query, m_params);
    takeColumns(query);
    m_state = State::Browse;
    m_current = 0;
    m_eof = !query.next();
    m_streamHadRows = !m_eof;
    if (query.lastError().isValid())
        throw DbError(engineMessage(query.lastError()));
}

void TQuery::readRows(QSqlQuery &query)
{
    takeColumns(query);
    m_rows.clear();
    const int columns = int(m_columns.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        m_rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw DbError(engineMessage(query.lastError()));
    m_state = State::Browse;
    First();
}

void TQuery::Close()
{
    if (m_statement)
        m_statement->finish();
    m_state = State::Inactive;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_columns.clear();
    m_buffer.clear();
    m_modified.clear();
    m_current = 0;
    m_eof = true;
}

int TQuery::ExecSQL()
{
    Close();
    QSqlQuery &query = prepared(statementText());
    bindAndRun(query, m_params);
    const int changed = query.numRowsAffected();
    m_lastInsertId = query.lastInsertId().toLongLong();
    query.finish();
    return changed;
}

void TQuery::First()
{
    if (!Active())
        throw DbError(QCoreApplication::translate("TQuery", "数据集未打开"));
    if (m_streaming) {
        const bool consumed = m_current > 0 || (m_eof && m_streamHadRows);
        if (consumed) {
            Close();
            Open();
        }
        return;
    }
    m_current = 0;
    m_eof = m_rows.empty();
}

void TQuery::Next()
{
    if (m_streaming) {
        if (m_eof || !m_statement)
            return;
        if (m_statement->next()) {
            ++m_current;
            return;
        }
        m_eof = true;
        const QSqlError error = m_statement->lastError();
        m_statement->finish();
        if (error.isValid())
            throw DbError(engineMessage(error));
        return;
    }
    if (m_current + 1 < RecordCount())
        ++m_current;
    else
        m_eof = true;
}

int TQuery::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (QString::compare(m_columns.at(i), name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TField TQuery::FieldByName(const QString &name)
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw DbError(QCoreApplication::translate("TQuery", "找不到字段 %1").arg(name));
    return TField(this, column);
}

QVariant TQuery::cellValue(int column) const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(column);
    if (m_streaming)
        return m_eof || !m_statement ? QVariant() : m_statement->value(column);
    if (m_rows.empty())
        return {};
    return m_rows[size_t(m_current)].value(column);
}

void TQuery::setCellValue(int column, const QVariant &value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QCoreApplication::translate("TQuery", "数据集不在编辑状态"));
    m_buffer[column] = value;
    m_modified.insert(column);
}

void TQuery::requireBrowse(const char *operation) const
{
    if (m_state == State::Inactive)
        throw DbError(QCoreApplication::translate("TQuery", "数据集未打开，不能%1").arg(QLatin1StringView(operation)));
    if (m_table.isEmpty() || m_streaming)
        throw DbError(QCoreApplication::translate("TQuery", "数据集不能修改"));
}

void TQuery::requireRow(const char *operation) const
{
    requireBrowse(operation);
    if (m_rows.empty())
        throw DbError(QCoreApplication::translate("TQuery", "没有当前记录，不能%1").arg(QLatin1StringView(operation)));
}

bool TQuery::Locate(const QString &field, const QVariant &value)
{
    if (m_streaming)
        throw DbError(QCoreApplication::translate("TQuery", "数据集不能定位"));
    const int column = fieldIndex(field);
    if (column < 0)
        throw DbError(QCoreApplication::translate("TQuery", "找不到字段 %1").arg(field));
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (sameValue(m_rows[i].value(column), value)) {
            m_current = int(i);
            m_eof = false;
            return true;
        }
    }
    return false;
}

void TQuery::Append()
{
    requireBrowse("append");
    m_buffer = QVariantList(m_columns.size());
    m_modified.clear();
    m_state = State::Insert;
}

void TQuery::Edit()
{
    requireRow("edit");
    m_buffer = m_rows[size_t(m_current)];
    m_modified.clear();
    m_state = State::Edit;
}

void TQuery::Cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        m_state = State::Browse;
        m_buffer.clear();
        m_modified.clear();
    }
}

bool TQuery::runGuarded(const std::function<void()> &operation)
{
    for (;;) {
        try {
            operation();
            return true;
        } catch (const DbError &error) {
            if (!m_onError)
                throw;
            switch (m_onError(*this, error)) {
            case ErrorAction::Fail:
                throw;
            case ErrorAction::Abort:
                return false;
            case ErrorAction::Retry:
                break;
            }
        }
    }
}

bool TQuery::Post()
{
    if (m_state == State::Insert)
        return runGuarded([this] { postInsert(); });
    if (m_state == State::Edit)
        return runGuarded([this] { postEdit(); });
    throw DbError(QCoreApplication::translate("TQuery", "数据集不在编辑状态"));
}

QString TQuery::quotedTable() const
{
    return quoteIdentifier(m_table);
}

void TQuery::postInsert()
{
    QStringList names;
    QVariantList values;
    for (int column : std::as_const(m_modified)) {
        names.append(quoteIdentifier(m_columns.at(column)));
        values.append(m_buffer.at(column));
    }
    QString text = u"INSERT INTO %1 "_s.arg(quotedTable());
    if (names.isEmpty())
        text += u"DEFAULT VALUES"_s;
    else
        text += u"(%1) VALUES (%2)"_s.arg(names.join(u", "_s), QStringList(names.size(), u"?"_s).join(u", "_s));
    const QSqlQuery query = runStatement(m_connectionName, text, values);
    const int key = fieldIndex(m_key);
    if (key >= 0)
        m_buffer[key] = query.lastInsertId();
    m_rows.push_back(m_buffer);
    m_current = RecordCount() - 1;
    m_eof = false;
    Cancel();
}

void TQuery::postEdit()
{
    const int key = fieldIndex(m_key);
    if (key < 0)
        throw DbError(QCoreApplication::translate("TQuery", "找不到字段 %1").arg(m_key));
    QStringList sets;
    QVariantList values;
    for (int column : std::as_const(m_modified)) {
        sets.append(quoteIdentifier(m_columns.at(column)) + u" = ?"_s);
        values.append(m_buffer.at(column));
    }
    if (!sets.isEmpty()) {
        values.append(m_rows[size_t(m_current)].at(key));
        const QString text =
            u"UPDATE %1 SET %2 WHERE %3 = ?"_s.arg(quotedTable(), sets.join(u", "_s), quoteIdentifier(m_key));
        runStatement(m_connectionName, text, values);
    }
    m_rows[size_t(m_current)] = m_buffer;
    Cancel();
}

bool TQuery::Delete()
{
    requireRow("delete");
    return runGuarded([this] { deleteCurrent(); });
}

void TQuery::deleteCurrent()
{
    const int key = fieldIndex(m_key);
    if (key < 0)
        throw DbError(QCoreApplication::translate("TQuery", "找不到字段 %1").arg(m_key));
    runStatement(m_connectionName, u"DELETE FROM %1 WHERE %2 = ?"_s.arg(quotedTable(), quoteIdentifier(m_key)),
                 {m_rows[size_t(m_current)].at(key)});
    m_rows.erase(m_rows.begin() + m_current);
    if (m_current >= RecordCount())
        m_current = std::max(0, RecordCount() - 1);
    m_eof = m_rows.empty();
}
