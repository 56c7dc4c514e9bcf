#pragma once

#include <QDir>
#include <QWidget>

// Saves a picture of a window into $QUILLON_SCREENSHOTS when that is set, so a
// developer can look at what a test showed.
inline void saveScreenshot(QWidget &widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("QUILLON_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget.grab().save(dir + u'/' + name + QStringLiteral(".png"));
}
