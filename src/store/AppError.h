#pragma once

#include <QString>
#include <stdexcept>

// An error the program reports to the user with its own text.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
