#pragma once

#include "store/ErrorPresenter.h"
#include "store/ProgressSink.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QList>
#include <QStringList>
#include <functional>

// What quillon-cli writes: listings as tab-separated UTF-8 lines on standard output (a TAB,
// CR, LF or backslash inside a field escaped as \t, \r, \n, \\, any other control
// character as \x1b or, for C1, \u009b) or as JSON, messages on standard error with
// their control characters escaped the same way.
class CliOutput {
public:
    explicit CliOutput(bool json)
        : m_json(json)
    {
    }

    // One listing: its field names, then its records. Raises AppError with the system's
    // message when standard output cannot take it.
    void listing(const QStringList &fields, const QList<QStringList> &records) const;
    // The same, the records handed to take one at a time by each.
    using RecordSink = std::function<void(const QStringList &)>;
    void listing(const QStringList &fields, const std::function<void(const RecordSink &)> &each) const;
    static QString escaped(const QString &field);
    // One JSON document on standard output, indented.
    static void document(const QJsonDocument &document);
    static void error(const QString &message);
    // A message on standard error without the program's name: what was done.
    static void note(const QString &message);

private:
    bool m_json;
};

// The catalogue's error texts on standard error: the message, then the engine's details.
class CliErrorPresenter : public ErrorPresenter {
public:
    void showError(const QString &message, const QString &details, const QString &caption) override;
};

// Progress of long work as a bar on standard error when it is a terminal; nothing when it
// is not (a pipe, a log file).
class TerminalProgress : public ProgressSink {
public:
    TerminalProgress();
    ~TerminalProgress() override;

    void SetStatusText(const QString &text) override;
    void SetProgressRange(int max, int min) override;
    void SetProgressPosition(int position) override;
    void ReportProgress(const QString &text, int position) override;
    bool StopRequested() const override { return false; }

private:
    void draw(bool force);

    bool m_terminal;
    int m_max = 0;
    int m_position = 0;
    QString m_text;
    QElapsedTimer m_drawn;
    bool m_shown = false;
};
