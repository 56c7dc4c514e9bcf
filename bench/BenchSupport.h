#pragma once

#include "store/ProgressSink.h"

#include <QElapsedTimer>
#include <QString>

// Helpers shared by the benchmarks: memory readings, timing, result lines.
namespace bench {

// Resident and peak resident memory of this process, in bytes.
qint64 residentBytes();
qint64 peakResidentBytes();
// Returns freed heap memory to the system, so resident memory counts live data.
void trimHeap();
// Starts a new peak measurement (Linux: /proc/self/clear_refs).
void resetPeak();

// A sink for the program's progress that shows nothing and never asks to stop.
class QuietProgress : public ProgressSink {
public:
    void SetStatusText(const QString &) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void ReportProgress(const QString &, int) override {}
    bool StopRequested() const override { return false; }
};

// Writes a new catalogue PROGRAM_DIR/data/dbQL.mdb with the default categories, in place
// of any there.
void newCatalogue(const QString &programDir);

// Prints one result line: "name<TAB>value<TAB>unit<TAB>target".
void report(const QString &name, double value, const QString &unit, const QString &target = {});

// A file name of the generated data: ASCII or Chinese, deterministic for i.
QString fileName(quint64 i);
QString fileSize(quint64 i);
QString fileDate(quint64 i);
QString filePath(quint64 i);

// Names (about 40 characters) and folders (about 45) like those of real discs, with a
// vocabulary that gives each benchmarked search its number of hits whatever the size of
// the catalogue: RareToken in one name of 100,000, RareWord (two Chinese characters) in one
// of 10,000, "mp3" in one of 100, and no name or folder holding "qqqzzz".
inline const QString RareToken = QStringLiteral("Quokka");
inline const QString RareWord = QStringLiteral("麒麟");
QString realisticName(quint64 i);
QString realisticPath(quint64 i);

} // namespace bench
