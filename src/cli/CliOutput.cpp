#include "CliOutput.h"

#include "store/AppError.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
QString systemMessage()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A failed write on standard output (a full disk, a closed pipe) ends the command; what
// standard error cannot take cannot be reported anywhere.
void put(FILE *stream, const QString &text)
{
    if (std::fputs(text.toUtf8().constData(), stream) == EOF && stream == stdout)
        throw AppError(systemMessage());
}

// C0, DEL and C1: a terminal takes them as commands (ESC above all), never as text.
bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

// \x1b for C0 and DEL; \u009b for C1, which is no single byte in UTF-8.
QString controlEscape(char16_t c)
{
    return c <= 0x7f ? u"\\x%1"_s.arg(uint(c), 2, 16, QChar(u'0')) : u"\\u%1"_s.arg(uint(c), 4, 16, QChar(u'0'));
}

// A message for standard error: its line breaks stay, every other control character is
// escaped, so a name cannot drive the terminal.
QString messageText(const QString &message)
{
    QString out;
    out.reserve(message.size());
    for (const QChar c : message)
        out += c != u'\n' && isControl(c.unicode()) ? controlEscape(c.unicode()) : QString(c);
    return out;
}
} // namespace

QString CliOutput::escaped(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
        case u'\\':
            out += u"\\\\"_s;
            break;
        case u'\t':
            out += u"\\t"_s;
            break;
        case u'\r':
            out += u"\\r"_s;
            break;
        case u'\n':
            out += u"\\n"_s;
            break;
        default:
            if (isControl(c.unicode()))
                out += controlEscape(c.unicode());
            else
                out += c;
        }
    }
    return out;
}

void CliOutput::listing(const QStringList &fields, const QList<QStringList> &records) const
{
    listing(fields, [&](const RecordSink &take) {
        for (const QStringList &record : records)
            take(record);
    });
}

// Written as the records come, 64 KiB at a time: a listing of a million files never waits
// in memory. The JSON is the indented array QJsonDocument writes, one object at a time.
void CliOutput::listing(const QStringList &fields, const std::function<void(const RecordSink &)> &each) const
{
    QString text;
    bool first = true;
    const auto due = [&] {
        if (text.size() > 64 * 1024) {
            put(stdout, text);
            text.clear();
        }
    };
    if (m_json) {
        text = u"["_s;
        each([&](const QStringList &record) {
            QJsonObject object;
            for (qsizetype i = 0; i < fields.size(); ++i)
                object.insert(fields.at(i), record.value(i));
            const QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed();
            text += (first ? u"\n    "_s : u",\n    "_s) + QString(json).replace(u'\n', u"\n    "_s);
            first = false;
            due();
        });
        put(stdout, text + u"\n]\n"_s);
        return;
    }
    each([&](const QStringList &record) {
        QStringList cells;
        for (const QString &field : record)
            cells.append(escaped(field));
        text += cells.join(u'\t') + u'\n';
        due();
    });
    put(stdout, text);
}

void CliOutput::document(const QJsonDocument &document)
{
    put(stdout, QString::fromUtf8(document.toJson(QJsonDocument::Indented)));
}

void CliOutput::error(const QString &message)
{
    put(stderr, u"quillon-cli: "_s + messageText(message) + u'\n');
}

void CliOutput::note(const QString &message)
{
    put(stderr, messageText(message) + u'\n');
}

void CliErrorPresenter::showError(const QString &message, const QString &details, const QString &)
{
    CliOutput::error(details.isEmpty() ? message
                                       : QCoreApplication::translate("Cli", "%1：").arg(message) + u'\n' +
                                             QString(details).replace(u'\r', u'\n'));
}

TerminalProgress::TerminalProgress()
    : m_terminal(::isatty(STDERR_FILENO) == 1)
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_shown)
        std::fputc('\n', stderr);
}

void TerminalProgress::SetStatusText(const QString &text)
{
    m_text = text;
    draw(true);
}

void TerminalProgress::SetProgressRange(int max, int min)
{
    m_max = std::max(0, max - min);
    m_position = 0;
}

void TerminalProgress::SetProgressPosition(int position)
{
    m_position = position;
}

void TerminalProgress::ReportProgress(const QString &text, int position)
{
    m_text = text;
    m_position = position;
    draw(false);
}

// Redraws the line at most ten times a second: [#####.....] 42% text
void TerminalProgress::draw(bool force)
{
    if (!m_terminal || m_text.isEmpty())
        return;
    if (!force && m_drawn.isValid() && m_drawn.elapsed() < 100)
        return;
    m_drawn.start();
    constexpr int width = 30;
    const int done = m_max > 0 ? int(qint64(std::min(m_position, m_max)) * width / m_max) : 0;
    const QString bar = u"["_s + QString(done, u'#') + QString(width - done, u'.') + u"] "_s;
    const QString percent = m_max > 0 ? u"%1% "_s.arg(qint64(std::min(m_position, m_max)) * 100 / m_max) : QString();
    put(stderr, u"\r\x1b[K"_s + bar + percent + m_text);
    std::fflush(stderr);
    m_shown = true;
}
