// The about box: its texts, layout and links.
#include "Screenshots.h"
#include "ScriptedPrompts.h"
#include "app/AboutBox.h"
#include "app/AboutInfo.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// Records what the desktop is asked to open, and can refuse it as a missing browser does.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void osText_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("distribution");
        QTest::addColumn<QString>("text");
        QTest::newRow("with distribution") << u"6.18.44"_s << u"Debian GNU/Linux 12 (bookworm)"_s
                                           << u"Linux 6.18 (Build 44: Debian GNU/Linux 12 (bookworm))"_s;
        QTest::newRow("without") << u"6.18.44"_s << QString() << u"Linux 6.18 (Build 44)"_s;
        QTest::newRow("suffix") << u"6.1.0-28-amd64"_s << u"Debian"_s << u"Linux 6.1 (Build 0: Debian)"_s;
        QTest::newRow("two parts") << u"5.15-rc3"_s << u"  "_s << u"Linux 5.15 (Build 0)"_s;
        QTest::newRow("nonsense") << u"unknown"_s << QString() << u"Linux 0.0 (Build 0)"_s;
    }

    void osText()
    {
        QFETCH(QString, release);
        QFETCH(QString, distribution);
        QFETCH(QString, text);
        QCOMPARE(AboutInfo::osText(release, distribution), text);
    }

    void memoryText()
    {
        QCOMPARE(AboutInfo::memoryText(25769803776ULL, QLocale::c()), u"25,165,824 KB"_s);
        QCOMPARE(AboutInfo::memoryText(1023, QLocale::c()), u"0 KB"_s);
        QCOMPARE(AboutInfo::memoryText(2048ULL * 1024 * 1024, QLocale(QLocale::German)), u"2.097.152 KB"_s);
        QVERIFY(AboutInfo::physicalMemory() > 0);
    }

    void layoutAndTexts()
    {
        ScriptedPrompts prompts;
        TAboutBox box(prompts);
        box.show();
        QCOMPARE(box.windowTitle(), u"关于光盘索引"_s);
        QCOMPARE(box.size(), QSize(342, 250));
        QCOMPARE(box.Company->text(), u"Quillon系列软件"_s);
        QCOMPARE(box.ProductName1->pos(), QPoint(82, 36));
        QCOMPARE(box.ProductName3->pos(), QPoint(83, 35));
        QCOMPARE(box.ProductName2->pos(), QPoint(84, 34));
        // Black is drawn last, on top of grey and white.
        const QObjectList children = box.children();
        QVERIFY(children.indexOf(box.ProductName1) < children.indexOf(box.ProductName3));
        QVERIFY(children.indexOf(box.ProductName3) < children.indexOf(box.ProductName2));
        QCOMPARE(box.ProductName2->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(box.ProductName1->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(box.Label3->text(), u"Memory Available to Windows:"_s);
        QVERIFY(box.PhysMem->text().endsWith(u" KB"_s));
        QCOMPARE(box.PhysMem->geometry().right() + 1, 329);
        QVERIFY(box.OS->text().startsWith(u"Linux "_s));
        // However long the system's name, the line stays inside the box.
        QVERIFY(box.OS->geometry().right() < 342);
        QCOMPARE(box.OKButton->geometry(), QRect(256, 215, 75, 25));
        QVERIFY(box.OKButton->isDefault());
        // This test program carries no version note: the version stays empty.
        QCOMPARE(box.Version->text(), QString());
        saveScreenshot(box, u"about-box"_s);
    }

    void linksOpenOrReportTheBrowser()
    {
        ScriptedPrompts prompts;
        TAboutBox box(prompts);
        UrlSink sink;
        QDesktopServices::setUrlHandler(u"https"_s, &sink, "open");
        QDesktopServices::setUrlHandler(u"mailto"_s, &sink, "open");
        box.show();
        QTest::mouseClick(box.URL, Qt::LeftButton);
        QTest::mouseClick(box.EMAIL, Qt::LeftButton);
        QCOMPARE(sink.urls,
                 (QList<QUrl>{QUrl(TAboutBox::webAddress()), QUrl(u"mailto:"_s + TAboutBox::mailAddress())}));
        QVERIFY(prompts.calls.isEmpty());
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QDesktopServices::unsetUrlHandler(u"mailto"_s);
    }

    void missingBrowserIsReported()
    {
        // Without a desktop, nothing can open the page.
        if (QDesktopServices::openUrl(QUrl(u"https://invalid.invalid/"_s)))
            QSKIP("this machine has a browser to open");
        ScriptedPrompts prompts;
        TAboutBox box(prompts);
        box.URLClick();
        QCOMPARE(prompts.kinds(), QStringList{u"critical"_s});
        QCOMPARE(prompts.calls.first().text, u"无法运行默认浏览器"_s);
        box.EMAILClick();
        QCOMPARE(prompts.calls.size(), 1);
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
