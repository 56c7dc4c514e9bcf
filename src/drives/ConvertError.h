#pragma once

#include <QString>
#include <stdexcept>

// A value could not be taken as what was asked for (a character that names no drive).
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
