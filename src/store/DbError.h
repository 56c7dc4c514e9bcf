#pragma once

#include <QString>
#include <stdexcept>

// An error raised by the catalogue store; the text is the engine's own message.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
