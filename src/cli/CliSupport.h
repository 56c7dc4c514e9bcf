#pragma once

#include "CliCatalogue.h"
#include "CliOutput.h"
#include "import/DriveRoot.h"

#include <QCommandLineParser>
#include <functional>
#include <optional>

class FileRowModel;

// What the commands of quillon-cli share: their option parsing, the opening of the
// catalogue, and the file lists of a disc or a search.
namespace CliSupport {

using Status = CliCatalogue::Status;

// The options every command takes (--help, --catalogue, --json), and the parse of one
// command's arguments.
struct CommandParser {
    QCommandLineParser parser;
    QCommandLineOption catalogue;
    QCommandLineOption json;

    CommandParser(const QString &description, const QString &arguments);
    // Nothing when the command goes on; else the status to end with: help shown (0) or
    // bad usage (2, said on standard error).
    std::optional<int> parse(const QStringList &arguments, qsizetype positional);
    std::optional<int> parse(const QStringList &arguments, qsizetype fewest, qsizetype most);
    CliOutput output() const;
};

// Opens the catalogue the command's options name and runs the work on it; a catalogue
// error ends it with status 3 and the engine's message.
int withCatalogue(const CommandParser &command, TdmQL::Access access, const std::function<int(CliCatalogue &)> &work);
// The files of the disc of that name, as the main list shows them; nothing (said on
// standard error) when there is no such disc.
std::optional<FileRowModel *> discFiles(TdmQL &dm, const QString &name, FileRowModel &rows);
// The hits of a search as the search dialog finds them, in the columns named by --in.
std::optional<FileRowModel *> searchHits(TdmQL &dm, const QString &text, const QString &columns, FileRowModel &rows,
                                         bool pinyin = false);
// The drive, folder or disc image a command reads, by the letter, path or image file given;
// nothing (said on standard error) when there is none such.
std::optional<DriveRoot> driveNamed(const QString &drive);
std::optional<DriveRoot> folderNamed(const QString &folder);
std::optional<DriveRoot> imageNamed(const QString &image);
// Lists file rows; status 1 when there are none.
int listFiles(const CommandParser &command, const FileRowModel &rows);
QCommandLineOption inOption();
// The search index and the pinyin brought up to date, as the window does after an import;
// false (said on standard error) for a catalogue without the index.
bool updateIndex(CliCatalogue &catalogue);
// The status a command ends with once standard output is flushed: CatalogueFailed (with
// the system's message) when any write to it failed.
int finished(int status);

} // namespace CliSupport
