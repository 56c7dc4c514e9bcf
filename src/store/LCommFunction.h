#pragma once

#include <QString>
#include <QVariantList>

class ErrorPresenter;
class TQuery;

// Runs one-line statements on the named queries, swallowing their errors, and shows the
// program's error dialog. One instance lives for the whole run.
class TLCommFunction {
public:
    explicit TLCommFunction(ErrorPresenter *presenter = nullptr)
        : m_presenter(presenter)
    {
    }
    void setPresenter(ErrorPresenter *presenter) { m_presenter = presenter; }

    // Replaces the query's statement by one line with its bound values and opens it.
    // Returns the number of rows, or -1 when the statement failed (nothing is shown and
    // the query stays closed).
    int OpenSql(TQuery &query, const QString &statement, const QVariantList &values = {});
    // Runs a statement that returns no rows; false when it failed (nothing is shown).
    bool ExecSql(TQuery &query, const QString &statement, const QVariantList &values = {});
    // Shows the error dialog and returns when the user has closed it.
    void ShowError(const QString &message, const QString &details, const QString &caption);

private:
    static void setStatement(TQuery &query, const QString &statement, const QVariantList &values);
    ErrorPresenter *m_presenter;
};
