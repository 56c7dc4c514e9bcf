#include "FileVersion.h"

#include "VersionNoteReader.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

void GetFileVersionString(const QString &FileName, QString &Version)
{
    const auto note = VersionNoteReader::read(FileName);
    if (!note)
        return;
    // The translation names the string table: language and code page, four hex digits each.
    static const QRegularExpression translationForm(u"^[0-9A-Fa-f]{8}$"_s);
    QString key = note->value(u"VarFileInfo/Translation"_s);
    key = translationForm.match(key).hasMatch() ? key.toUpper() : QString();
    Version.clear();
    const auto found = note->constFind(u"StringFileInfo/"_s + key + u"/FileVersion"_s);
    if (found != note->constEnd())
        Version = *found;
}
