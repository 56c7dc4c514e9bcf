// Sorting the file list as text, numbers and dates.
#include "language/Language.h"
#include "store/FileRowModel.h"
#include "store/SqlFunctions.h"
#include "ui/SortableListView.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList column(const TSortableListView &list, int c)
{
    QStringList out;
    for (const FileRow &row : list.rows()->rows())
        out << row.cell(c);
    return out;
}

void fill(TSortableListView &list, const QStringList &values, int c)
{
    list.rows()->clear();
    int i = 0;
    for (const QString &value : values) {
        FileRow row{u"disc"_s, {u"n%1"_s.arg(i++), u"0"_s, u"2000-01-01"_s, u"\\"_s}};
        if (c == 0)
            row.caption = value;
        else
            row.sub[size_t(c - 1)] = value;
        list.rows()->appendRow(row);
    }
}

// Names of Chinese characters mixed with Latin letters of either case and digits; no two
// differ in case alone, so every order of them is a single one.
QStringList randomNames(int count)
{
    const QString letters = u"中国北京阿里音乐长城银行重庆乐行周杰伦张王李赵abcXYZ019 _-"_s;
    QStringList names;
    while (names.size() < count) {
        QString name;
        for (int i = 0, n = 1 + QRandomGenerator::global()->bounded(6); i < n; ++i)
            name += letters.at(QRandomGenerator::global()->bounded(int(letters.size())));
        const bool caseTwin = std::any_of(names.cbegin(), names.cend(), [&](const QString &other) {
            return other.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!caseTwin)
            names << name;
    }
    return names;
}

// The names as a statement ordered by the catalogue's LOCALE collation lists them.
QStringList orderedByCollation(const QStringList &names)
{
    QStringList ordered;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"collation"_s);
        db.setDatabaseName(u":memory:"_s);
        if (!db.open() || !registerSqlFunctions(db))
            return {u"cannot open the test database"_s};
        QSqlQuery query(db);
        query.exec(u"create table t (name text)"_s);
        query.prepare(u"insert into t values (?)"_s);
        for (const QString &name : names) {
            query.addBindValue(name);
            query.exec();
        }
        query.exec(u"select name from t order by name collate LOCALE, rowid"_s);
        while (query.next())
            ordered << query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(u"collation"_s);
    return ordered;
}

} // namespace

class TestSortableList : public QObject {
    Q_OBJECT

private slots:
    void numbersSortByLeadingDigits()
    {
        TSortableListView list;
        fill(list, {u"10"_s, u"9"_s, u"abc"_s, u"5368709120"_s, u"12abc"_s, u""_s, u"100"_s}, 2);
        list.SortBy(2, TCustomSortableListView::Number);
        // Texts without a leading digit count as 0 and keep their order among themselves.
        QCOMPARE(column(list, 2),
                 (QStringList{u"abc"_s, u""_s, u"9"_s, u"10"_s, u"12abc"_s, u"100"_s, u"5368709120"_s}));
        list.SortBy(2, TCustomSortableListView::Number);
        QVERIFY(!list.SortAscending());
        QCOMPARE(column(list, 2).first(), u"5368709120"_s);
        QCOMPARE(column(list, 2).mid(5), (QStringList{u"abc"_s, u""_s}));
    }

    void datesSortByTime()
    {
        TSortableListView list;
        fill(list, {u"2024-01-05 08:00:00"_s, u"2023-12-31 23:59:59"_s, u"2024-01-05"_s, u"2023-02-01 10:00:00"_s,
                    u"2024-01-05 00:00:01"_s},
             3);
        list.SortBy(3, TCustomSortableListView::DateTime);
        QCOMPARE(column(list, 3), (QStringList{u"2023-02-01 10:00:00"_s, u"2023-12-31 23:59:59"_s, u"2024-01-05"_s,
                                               u"2024-01-05 00:00:01"_s, u"2024-01-05 08:00:00"_s}));
    }

    void textIgnoresCase_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << u"C"_s;
        QTest::newRow("zh_CN") << u"zh_CN"_s;
        QTest::newRow("en_US") << u"en_US"_s;
    }

    void textIgnoresCase()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        TSortableListView list;
        fill(list, {u"b.mp3"_s, u"A.mp3"_s, u"a.MP3"_s, u"C.mp3"_s, u"B.MP3"_s}, 1);
        list.SortBy(1, TCustomSortableListView::Text);
        // Names differing only in case are equal: they stay in their order.
        QCOMPARE(column(list, 1), (QStringList{u"A.mp3"_s, u"a.MP3"_s, u"b.mp3"_s, u"B.MP3"_s, u"C.mp3"_s}));
        list.SortBy(1, TCustomSortableListView::Text);
        QCOMPARE(column(list, 1), (QStringList{u"C.mp3"_s, u"b.mp3"_s, u"B.MP3"_s, u"A.mp3"_s, u"a.MP3"_s}));
    }

    // The interface language decides the order of Chinese names, whatever the system
    // locale: pinyin in Chinese, the code points' order in English. The list's sort and
    // the catalogue's LOCALE collation agree on any names.
    void chineseNamesFollowTheInterfaceLanguage_data()
    {
        QTest::addColumn<QString>("systemLocale");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("expected");
        const QStringList pinyin{u"阿里"_s, u"北京"_s, u"中国"_s}, codePoints{u"中国"_s, u"北京"_s, u"阿里"_s};
        for (const char *locale : {"C", "en_US", "zh_CN"}) {
            QTest::addRow("%s, Chinese", locale) << QString::fromLatin1(locale) << false << pinyin;
            QTest::addRow("%s, English", locale) << QString::fromLatin1(locale) << true << codePoints;
        }
    }

    void chineseNamesFollowTheInterfaceLanguage()
    {
        QFETCH(QString, systemLocale);
        QFETCH(bool, english);
        QFETCH(QStringList, expected);
        QLocale::setDefault(QLocale(systemLocale));
        InterfaceLanguage::apply(english ? Language::English : Language::Chinese);
        auto restore = qScopeGuard([] {
            QLocale::setDefault(QLocale::c());
            InterfaceLanguage::apply(Language::Chinese);
        });
        TSortableListView list;
        fill(list, {u"中国"_s, u"阿里"_s, u"北京"_s}, 1);
        list.DoSort(1, TCustomSortableListView::Text, true);
        QCOMPARE(column(list, 1), expected);

        const QStringList names = randomNames(300);
        fill(list, names, 1);
        list.DoSort(1, TCustomSortableListView::Text, true);
        QCOMPARE(column(list, 1), orderedByCollation(names));
    }

    void sortStateFollowsClicks()
    {
        TSortableListView list;
        QCOMPARE(list.CurrentSortColumn(), -1);
        fill(list, {u"x"_s, u"y"_s}, 0);
        list.SortBy(0, TCustomSortableListView::Text);
        QCOMPARE(list.CurrentSortColumn(), 0);
        QVERIFY(list.SortAscending());
        list.SortBy(4, TCustomSortableListView::Text);
        QCOMPARE(list.CurrentSortColumn(), 4);
        QVERIFY(list.SortAscending());
        list.SortBy(4, TCustomSortableListView::Text);
        QVERIFY(!list.SortAscending());
        // Sorting an empty list keeps the state too.
        list.rows()->clear();
        list.DoSort(2, TCustomSortableListView::Number, true);
        QCOMPARE(list.CurrentSortColumn(), 2);
        QCOMPARE(list.sortKind(), TCustomSortableListView::Number);
    }

    void selectionFollowsItsRows()
    {
        TSortableListView list;
        fill(list, {u"3"_s, u"1"_s, u"2"_s}, 2);
        list.selectionModel()->select(list.rows()->index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        list.SortBy(2, TCustomSortableListView::Number);
        const QModelIndexList selected = list.selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().siblingAtColumn(2).data().toString(), u"3"_s);
    }

    // The last column fills the list; a double-click on a border fits that column.
    void columnsFillTheWidthAndFitOnDoubleClick()
    {
        TSortableListView list;
        list.setColumns(QStringList(5, u"c"_s), {140, 112, 70, 131, 160});
        list.resize(1000, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QHeaderView *header = list.header();
        QVERIFY(header->sectionViewportPosition(4) + header->sectionSize(4) >= list.viewport()->width() - 1);
        fill(list, {QString(60, u'x')}, 1);
        emit header->sectionHandleDoubleClicked(1);
        QVERIFY(header->sectionSize(1) >= list.fontMetrics().horizontalAdvance(QString(60, u'x')));
    }
};

QTEST_MAIN(TestSortableList)
#include "tst_sortablelist.moc"
