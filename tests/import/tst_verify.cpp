// Verifying discs against their catalogue: each kind of difference, a disc without
// checksums or import record, checksum lists on the disc, and the history with the due list.
#include "FakePlatform.h"
#include "RecordingProgress.h"
#include "TestSession.h"
#include "drives/platform/PlatformOverride.h"
#include "import/ChecksumList.h"
#include "import/DiscImport.h"
#include "import/DiscVerification.h"
#include "import/RowChecksums.h"
#include "store/CataloguedDiscs.h"
#include "store/DateText.h"
#include "store/DiscVerifications.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestVerify : public QObject {
    Q_OBJECT

    FakePlatform m_platform;
    PlatformOverride m_override{m_platform};

    void write(char letter, const QString &relative, const QByteArray &data)
    {
        const QString path = m_platform.drive(letter).root + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        m_platform.setCreationTime(letter, relative, 133000000000000000ull);
    }
    void remove(char letter, const QString &relative)
    {
        QVERIFY(QFile::remove(m_platform.drive(letter).root + u'/' + relative));
    }

    static qint64 import(TestSession &s, char letter, const QString &name, const QStringList &masks, bool checksums)
    {
        RecordingProgress progress;
        ImportChecksums wanted{checksums};
        const auto result = DiscImport::run(s.dm, s.comm, letter, QString(QChar(char16_t(letter))) + u":\\"_s, masks,
                                            name, progress, {.checksums = &wanted});
        return result == DiscImport::Result::Stored ? *CataloguedDiscs::codeOf(s.dm, name) : -1;
    }
    static DiscVerification::Outcome verify(TestSession &s, qint64 disc, char letter)
    {
        RecordingProgress progress;
        return DiscVerification::run(s.dm, disc, DriveRoot::ofDrive(letter), progress).value();
    }
    // "kind:name" of each file reported, sorted.
    static QStringList reported(const DiscVerification::Outcome &outcome)
    {
        QStringList out;
        for (const VerifiedFile &file : outcome.files)
            out.append(VerifiedFile::kindKey(file.kind) + u':' + file.name);
        out.sort();
        return out;
    }

private slots:
    void initTestCase()
    {
        for (char letter : {'e', 'f', 'g', 'h'})
            m_platform.addDrive(letter, DriveTypes::CdRom);
    }

    // Each kind once: content changed at the same size and time (the stored checksum tells),
    // size changed, a file gone, a new file matching the masks (and one that does not, not
    // reported), a file whose blocks no longer read. The disc in its drive is found by its
    // label and serial number.
    void eachKindOfDifference()
    {
        TestSession s;
        write('e', u"same.mp3"_s, "same");
        write('e', u"music/content.mp3"_s, "abcd");
        write('e', u"grown.mp3"_s, "short");
        write('e', u"gone.mp3"_s, "gone");
        write('e', u"scratched.mp3"_s, QByteArray(9000, 'v'));
        const qint64 disc = import(s, 'e', u"E"_s, {u"*.mp3"_s}, true);
        QVERIFY(disc > 0);
        write('e', u"music/content.mp3"_s, "ABCD");
        write('e', u"grown.mp3"_s, "longer");
        remove('e', u"gone.mp3"_s);
        write('e', u"added.mp3"_s, "new");
        write('e', u"notes.txt"_s, "not in the category");
        m_platform.faults().set(u"scratched.mp3"_s, 2, FaultyFiles::Fault::Fail);
        const std::optional<DiscVerification::Source> found = DiscVerification::locate(s.dm, disc);
        QVERIFY(found && found->letter == 'e');
        const DiscVerification::Outcome outcome = verify(s, disc, 'e');
        QCOMPARE(reported(outcome), (QStringList{u"changed:content.mp3"_s, u"changed:grown.mp3"_s, u"missing:gone.mp3"_s,
                                                 u"new:added.mp3"_s, u"unreadable:scratched.mp3"_s}));
        const Verification &n = outcome.counts;
        QCOMPARE((QList<qint64>{n.same, n.changed, n.missing, n.added, n.unreadable}), (QList<qint64>{1, 2, 1, 1, 1}));
        QCOMPARE(n.state(), Verification::State::Unreadable);
        QVERIFY(n.bytes > 0);
        for (const VerifiedFile &file : outcome.files)
            if (file.name == u"content.mp3"_s)
                QVERIFY2(file.detail.contains(u"校验值"_s) && file.folder == u"\\music\\"_s, qPrintable(file.detail));
    }

    // Without checksums the content is not compared, only size and date; without an import
    // record new files are not reported.
    void sizeAndDateWithoutChecksums()
    {
        TestSession s;
        write('f', u"a.txt"_s, "1234");
        write('f', u"b.txt"_s, "1234");
        const qint64 disc = import(s, 'f', u"F"_s, {u"*.*"_s}, false);
        write('f', u"a.txt"_s, "4321");
        m_platform.setCreationTime('f', u"b.txt"_s, 133100000000000000ull);
        write('f', u"c.txt"_s, "new");
        QSqlQuery(QSqlDatabase::database(s.dm.aConQl.connectionName())).exec(u"delete from DiscImport"_s);
        const DiscVerification::Outcome outcome = verify(s, disc, 'f');
        QCOMPARE(reported(outcome), QStringList{u"changed:b.txt"_s});
        QVERIFY(outcome.files.value(0).detail.startsWith(u"时间"_s));
        QCOMPARE(outcome.counts.same, 1);
    }

    // The lists on the disc: each format, one file that differs from its list, one listed
    // file that is not on the disc, one line that is no line of a list.
    void checksumListsOnTheDisc()
    {
        TestSession s;
        const QByteArray one = "one", two = "two";
        write('g', u"data/one.bin"_s, one);
        write('g', u"data/two.bin"_s, two);
        const auto hex = [](QCryptographicHash::Algorithm a, const QByteArray &b) {
            return QCryptographicHash::hash(b, a).toHex();
        };
        write('g', u"SHA256SUMS"_s,
              hex(QCryptographicHash::Sha256, one) + "  data/one.bin\n" + hex(QCryptographicHash::Sha256, one) +
                  " *data/two.bin\n");
        write('g', u"data/MD5SUMS"_s, "MD5 (one.bin) = " + hex(QCryptographicHash::Md5, one) + "\nnot a line\n");
        write('g', u"data/all.md5"_s, hex(QCryptographicHash::Md5, two) + "  two.bin\n" +
                                          hex(QCryptographicHash::Md5, two) + "  lost.bin\n");
        // CRC-32 of "one" is 7A6C86F1, of "two" 11CA8A66 (as zlib's crc32 gives them).
        write('g', u"data/check.sfv"_s, "; made by hand\r\none.bin 7a6c86f1\r\ntwo.bin 00000000\r\n");
        const qint64 disc = import(s, 'g', u"G"_s, {u"*.bin"_s}, true);
        const DiscVerification::Outcome outcome = verify(s, disc, 'g');
        QStringList details;
        for (const VerifiedFile &file : outcome.files)
            details.append(file.name + u" "_s + file.detail);
        details.sort();
        QCOMPARE(details, (QStringList{u"MD5SUMS 1行无法读懂"_s, u"lost.bin all.md5 列出的文件不在光盘上"_s,
                                       u"two.bin 与 SHA256SUMS 中的校验值不符"_s, u"two.bin 与 check.sfv 中的校验值不符"_s}));
        QCOMPARE(outcome.counts.listMismatches, 4);
        QCOMPARE(outcome.counts.same, 2);
        QCOMPARE(FileHash::of(DigestKind::Crc32, "two").toHex(), QByteArray("11ca8a66"));
        QCOMPARE(ChecksumList::parse(DigestKind::Sha256, "\\" + QByteArray(64, 'a') + "  a\\\\b\\nc\n").entries.value(0).path,
                 u"a/b\nc"_s);
    }

    // Kept with the disc and removed with it; the due list: never verified first, then the
    // oldest, and a disc verified lately not at all.
    void historyAndDueList()
    {
        TestSession s;
        write('h', u"x.txt"_s, "x");
        const QString connection = s.dm.aConQl.connectionName();
        QMap<QString, qint64> code;
        for (const QString &name : {u"甲"_s, u"乙"_s, u"丙"_s, u"丁"_s})
            code.insert(name, import(s, 'h', name, {u"*.*"_s}, false));
        const auto at = [](int monthsAgo) {
            return DateText::fromDateTime(QDateTime::currentDateTime().addMonths(-monthsAgo));
        };
        Verification v;
        v.verifiedAt = at(30);
        DiscVerificationStore::record(connection, code[u"乙"_s], v);
        v.verifiedAt = at(20);
        v.changed = 1;
        DiscVerificationStore::record(connection, code[u"丙"_s], v);
        v.verifiedAt = at(1);
        DiscVerificationStore::record(connection, code[u"丁"_s], v);
        v.verifiedAt = at(0);
        v.changed = 0;
        DiscVerificationStore::record(connection, code[u"乙"_s], v);
        QStringList due;
        for (const DueDisc &disc : DiscVerificationStore::due(connection, DiscVerification::dueCutoff(12)))
            due.append(disc.name);
        QCOMPARE(due, (QStringList{u"甲"_s, u"丙"_s}));
        QCOMPARE(DiscVerificationStore::history(connection, code[u"乙"_s]).size(), 2);
        QCOMPARE(DiscVerificationStore::latest(connection).value(code[u"乙"_s]).state(), Verification::State::Whole);
        QCOMPARE(DiscVerificationStore::latest(connection).value(code[u"丙"_s]).state(),
                 Verification::State::Differences);
        QVERIFY(s.comm.ExecSql(*s.dm.aqryTempFind, u"delete from CdRomListMt where DiskName = ?"_s, {u"乙"_s}));
        QCOMPARE(DiscVerificationStore::history(connection, code[u"乙"_s]).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestVerify)
#include "tst_verify.moc"
