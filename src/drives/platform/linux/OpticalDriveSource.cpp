#include "OpticalDriveSource.h"

#include <algorithm>

namespace {
QStringView digitsAt(const QString &text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && text[at].isDigit())
        ++at;
    QStringView digits = QStringView(text).sliced(start, at - start);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    return digits;
}

// Compares texts with runs of digits taken as numbers.
int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = digitsAt(a, i), y = digitsAt(b, j);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y))
                return c;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i, ++j;
    }
    return (i < a.size()) - (j < b.size());
}
} // namespace

void OpticalDriveSource::sortByPath(QList<OpticalDevice> &drives)
{
    std::stable_sort(drives.begin(), drives.end(), [](const OpticalDevice &a, const OpticalDevice &b) {
        const int byPath = naturalCompare(a.path, b.path);
        return byPath != 0 ? byPath < 0 : naturalCompare(a.sysName, b.sysName) < 0;
    });
}
