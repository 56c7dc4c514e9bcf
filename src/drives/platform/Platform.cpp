#include "Platform.h"

#include "PlatformOverride.h"
#include "SystemPlatform.h"

#include <QCoreApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

Platform *Platform::s_override = nullptr;

namespace {
QPointer<Platform> g_system;

// A directory listed by its path below the drive's root, as are its sub-directories.
class ListedDirectory : public OpenDirectory {
public:
    ListedDirectory(Platform &platform, char letter, QString relativePath, QList<DirEntry> entries)
        : m_platform(platform)
        , m_letter(letter)
        , m_relativePath(std::move(relativePath))
        , m_listing{std::move(entries)}
    {
    }

    const Listing &listing() const override { return m_listing; }

    std::unique_ptr<OpenDirectory> openChild(const DirEntry &entry) override
    {
        if (!entry.isDir)
            return nullptr;
        return m_platform.openDirectory(m_letter,
                                        m_relativePath.isEmpty() ? entry.name : m_relativePath + u'/' + entry.name);
    }

private:
    Platform &m_platform;
    char m_letter;
    QString m_relativePath;
    Listing m_listing;
};
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

std::unique_ptr<OpenDirectory> Platform::openDirectory(char letter, const QString &relativePath)
{
    std::optional<QList<DirEntry>> entries = listDirectory(letter, relativePath);
    if (!entries)
        return nullptr;
    return std::make_unique<ListedDirectory>(*this, letter, relativePath, std::move(*entries));
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
