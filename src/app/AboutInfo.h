#pragma once

#include <QLocale>
#include <QString>

// The texts of the about box that describe this machine.
class AboutInfo {
public:
    // "Linux 6.18 (Build 44: Debian GNU/Linux 12 (bookworm))" from the kernel release and
    // the distribution's name; without a name "Linux 6.18 (Build 44)".
    static QString osText(const QString &kernelRelease, const QString &distribution);
    // The physical memory in KB, digits grouped by the locale's separator, then " KB".
    static QString memoryText(quint64 bytes, const QLocale &locale = QLocale());
    // This machine's physical memory in bytes (0 when it cannot be read).
    static quint64 physicalMemory();
};
