#include "LCommFunction.h"

#include "ErrorPresenter.h"
#include "Query.h"

#include <QDebug>
#include <exception>

void TLCommFunction::setStatement(TQuery &query, const QString &statement, const QVariantList &values)
{
    query.Close();
    query.SQL().clear();
    query.SQL().append(statement);
    query.Params() = values;
}

int TLCommFunction::OpenSql(TQuery &query, const QString &statement, const QVariantList &values)
{
    setStatement(query, statement, values);
    try {
        query.Open();
        return query.RecordCount();
    } catch (const std::exception &) {
        query.Close();
        return -1;
    }
}

bool TLCommFunction::ExecSql(TQuery &query, const QString &statement, const QVariantList &values)
{
    try {
        setStatement(query, statement, values);
        query.ExecSQL();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void TLCommFunction::ShowError(const QString &message, const QString &details, const QString &caption)
{
    if (m_presenter)
        m_presenter->showError(message, details, caption);
    else
        qWarning().noquote() << message << details;
}
