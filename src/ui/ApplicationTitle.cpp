#include "ApplicationTitle.h"

#include <QCoreApplication>

namespace {
QString &title()
{
    static QString text;
    return text;
}
} // namespace

QString ApplicationTitle::get()
{
    return title().isEmpty() ? QCoreApplication::applicationName() : title();
}

void ApplicationTitle::set(const QString &text)
{
    title() = text;
}
