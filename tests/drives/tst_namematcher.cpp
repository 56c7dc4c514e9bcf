// Matching file names against category masks as Windows does.
#include "drives/platform/NameMatcher.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestNameMatcher : public QObject {
    Q_OBJECT

private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char *tag, const QString &mask, const QString &name, bool expected) {
            QTest::newRow(tag) << mask << name << expected;
        };
        // Everything.
        row("star, no dot", u"*"_s, u"README"_s, true);
        row("star-dot-star, no dot", u"*.*"_s, u"README"_s, true);
        row("star-dot-star, two dots", u"*.*"_s, u"a.tar.gz"_s, true);
        row("star-dot-star, leading dot", u"*.*"_s, u".profile"_s, true);
        // Extensions.
        row("ext, other case", u"*.mp3"_s, u"Song.MP3"_s, true);
        row("ext after two dots", u"*.mp3"_s, u"a.b.mp3"_s, true);
        row("ext not last", u"*.mp3"_s, u"song.mp3.bak"_s, false);
        row("ext longer", u"*.mp3"_s, u"song.mp3x"_s, false);
        row("ext without dot", u"*.mp3"_s, u"mp3"_s, false);
        row("ext of a dot name", u"*.txt"_s, u".txt"_s, true);
        row("star without dot spans dots", u"*mp3"_s, u"a.mp3"_s, true);
        row("Chinese, case of the rest", u"歌*.mp3"_s, u"歌曲一.Mp3"_s, true);
        // No extension.
        row("star-dot, plain", u"*."_s, u"Makefile"_s, true);
        row("star-dot, with ext", u"*."_s, u"song.mp3"_s, false);
        row("name-dot, no ext", u"abc."_s, u"abc"_s, true);
        row("name-dot-star, no ext", u"a.*"_s, u"a"_s, true);
        row("name-dot-star, ext", u"a.*"_s, u"a.txt"_s, true);
        row("name-dot-star, longer name", u"a.*"_s, u"ab.txt"_s, false);
        // Question marks: one character, or nothing at the end or before a dot.
        row("three qm, two chars", u"???"_s, u"ab"_s, true);
        row("three qm, three chars", u"???"_s, u"abc"_s, true);
        row("three qm, four chars", u"???"_s, u"abcd"_s, false);
        row("qm before ext, short", u"????.txt"_s, u"ab.txt"_s, true);
        row("qm before ext, exact", u"????.txt"_s, u"abcd.txt"_s, true);
        row("qm before ext, long", u"????.txt"_s, u"abcde.txt"_s, false);
        row("qm-dot-qm, no ext", u"?.?"_s, u"a"_s, true);
        row("qm-dot-qm, ext", u"?.?"_s, u"a.b"_s, true);
        row("qm-dot-qm, two chars", u"?.?"_s, u"ab"_s, false);
        row("qm inside needs a char", u"a?c"_s, u"ac"_s, false);
        row("qm does not match a dot", u"a?b"_s, u"a.b"_s, false);
        row("qm in ext, short ext", u"*.mp?"_s, u"x.mp"_s, true);
        // Brackets are ordinary characters.
        row("bracket literal", u"[ab].txt"_s, u"[ab].txt"_s, true);
        row("bracket no class", u"[ab].txt"_s, u"a.txt"_s, false);
        // Many stars stay fast and right.
        row("many stars", u"*a*a*a*a*a*a*b"_s, u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"_s, false);
        row("plain names", u"song.mp3"_s, u"SONG.MP3"_s, true);
    }

    void matches()
    {
        QFETCH(QString, mask);
        QFETCH(QString, name);
        QFETCH(bool, expected);
        QCOMPARE(NameMatcher(mask).matches(name), expected);
    }
};

QTEST_GUILESS_MAIN(TestNameMatcher)
#include "tst_namematcher.moc"
