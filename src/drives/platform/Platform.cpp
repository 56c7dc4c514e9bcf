#include "Platform.h"

#include "PlatformOverride.h"
#include "SystemPlatform.h"

#include <QCoreApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

Platform *Platform::s_override = nullptr;

namespace {
QPointer<Platform> g_system;
} // namespace

Platform::Platform(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<MediaEvent>();
}

Platform &Platform::instance()
{
    if (s_override)
        return *s_override;
    if (!g_system) {
        // Owned by the application when there is one, so it goes before the event loop's
        // objects do; otherwise it lives as long as the process.
        g_system = createSystemPlatform().release();
        g_system->setParent(QCoreApplication::instance());
    }
    return *g_system;
}

char Platform::driveLetter(char c)
{
    if (c >= 'A' && c <= 'Z')
        return char(c - 'A' + 'a');
    return c >= 'a' && c <= 'z' ? c : 0;
}

std::optional<QStringList> Platform::splitRelativePath(const QString &relativePath)
{
    QStringList parts;
    for (const QString &part : relativePath.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".."_s)
            return std::nullopt;
        if (part != u"."_s)
            parts.append(part);
    }
    return parts;
}

PlatformOverride::PlatformOverride(Platform &platform)
    : m_previous(Platform::s_override)
{
    Platform::s_override = &platform;
}

PlatformOverride::~PlatformOverride()
{
    Platform::s_override = m_previous;
}
