// The error dialog: texts, captions, and its collapsed and expanded heights.
#include "Screenshots.h"
#include "ui/ErrorDialogPresenter.h"
#include "ui/FrmErrorShow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestErrorShow : public QObject {
    Q_OBJECT

    static QPushButton *button(QWidget &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(QLatin1StringView(name));
    }
    static QString memo(QWidget &dialog, const char *name)
    {
        return dialog.findChild<QPlainTextEdit *>(QLatin1StringView(name))->toPlainText();
    }

private slots:
    void collapsesAndExpandsToDesignHeights()
    {
        TfrmErrorShow dialog;
        dialog.Fill(u"数据操作失败"_s, u"系统提示：\r  disk I/O error"_s, QString());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"错误提示"_s);
        QCOMPARE(dialog.width(), 448);
        QCOMPARE(dialog.height(), 156);
        QVERIFY(!dialog.expanded());
        QPushButton *details = button(dialog, "bbtnDetail");
        QVERIFY(details->isVisible());
        QCOMPARE(details->text(), u"详细资料》[&D]"_s);
        QCOMPARE(button(dialog, "bbtnClose")->text(), u"关闭[&C]"_s);
        QCOMPARE(memo(dialog, "memDetailInfo"), u"系统提示：\n  disk I/O error"_s);
        saveScreenshot(dialog, u"errorshow-collapsed"_s);

        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(details, Qt::LeftButton);
            QCOMPARE(dialog.height(), 283);
            QVERIFY(dialog.expanded());
            QCOMPARE(details->text(), u"隐藏《[&S]"_s);
            saveScreenshot(dialog, u"errorshow-expanded"_s);
            QTest::mouseClick(details, Qt::LeftButton);
            QCOMPARE(dialog.height(), 156);
            QVERIFY(!dialog.expanded());
            QCOMPARE(details->text(), u"详细资料》[&D]"_s);
        }
    }

    void emptyDetailsHideTheButton()
    {
        TfrmErrorShow dialog;
        dialog.Fill(u"第一行\r\n第二行\n第三行\r第四行\n5\n6\n7\n8\n9"_s, QString(), u"另一个标题"_s);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"另一个标题"_s);
        QVERIFY(!button(dialog, "bbtnDetail")->isVisible());
        QCOMPARE(dialog.height(), 156);
        saveScreenshot(dialog, u"errorshow-no-details"_s);
        QCOMPARE(memo(dialog, "memChnInfo").split(u'\n').size(), 9);
        // A long message scrolls inside its box; the dialog does not grow.
        QCOMPARE(dialog.findChild<QPlainTextEdit *>(u"memChnInfo"_s)->height(), 86);
    }

    void presenterShowsAndClosesTheDialog()
    {
        ErrorDialogPresenter presenter;
        QString seenTitle;
        QString seenMessage;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<TfrmErrorShow *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seenTitle = dialog->windowTitle();
            seenMessage = memo(*dialog, "memChnInfo");
            QTest::mouseClick(button(*dialog, "bbtnClose"), Qt::LeftButton);
        });
        presenter.showError(u"连接失败"_s, u"unable to open database file"_s, u"错误提示"_s);
        QCOMPARE(seenTitle, u"错误提示"_s);
        QCOMPARE(seenMessage, u"连接失败"_s);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestErrorShow)
#include "tst_errorshow.moc"
