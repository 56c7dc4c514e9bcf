// The disc tree's filter line, 属性 of a disc (renaming, location, lending) and the nodes'
// tooltips, in the main window.
#include "ScriptedPrompts.h"
#include "TestSession.h"
#include "app/DiscPropertiesDialog.h"
#include "app/DiscShelf.h"
#include "app/FrmMain.h"
#include "store/DiscChange.h"
#include "store/DiscLending.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestDiscShelf : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSession> m_session;
    ScriptedPrompts m_prompts;
    std::unique_ptr<TfrmMain> m_main;

    QString connection() const { return m_session->dm.aConQl.connectionName(); }
    void openWindow()
    {
        m_main = std::make_unique<TfrmMain>(m_session->dm, m_session->comm, m_prompts);
        m_main->show();
        QCoreApplication::processEvents();
    }
    QTreeWidgetItem *disc(const QString &name) const
    {
        QTreeWidgetItem *root = m_main->rootNode();
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == name)
                return root->child(i);
        return nullptr;
    }
    QStringList shown() const
    {
        QStringList names;
        QTreeWidgetItem *root = m_main->rootNode();
        for (int i = 0; i < root->childCount(); ++i)
            if (!root->child(i)->isHidden())
                names.append(root->child(i)->text(0));
        return names;
    }
    // Runs fill on the properties dialog once it is open, then presses 确定.
    void whenPropertiesOpen(const std::function<void(TfrmDiscProperties &)> &fill)
    {
        QTimer::singleShot(0, this, [fill] {
            auto *dialog = qobject_cast<TfrmDiscProperties *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            fill(*dialog);
            dialog->findChild<QPushButton *>(u"btnOk"_s)->click();
            if (dialog->isVisible())
                dialog->reject();
        });
    }

private slots:
    void init() { m_session = std::make_unique<TestSession>(); }
    void cleanup()
    {
        m_main.reset();
        m_session.reset();
    }

    void propertiesRenameAndLendADisc()
    {
        for (const QString &name : {u"alpha"_s, u"beta"_s, u"gamma"_s})
            m_session->data.addDisc(name);
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"gamma"_s));
        whenPropertiesOpen([](TfrmDiscProperties &dialog) { dialog.edtName->setText(u"BETA"_s); });
        m_main->actProperties->trigger();
        QCOMPARE(m_prompts.calls.size(), 1);
        QCOMPARE(m_prompts.calls.first().text, u"光盘索引库中已经有该名称的光盘了!"_s);
        QVERIFY(disc(u"gamma"_s));

        whenPropertiesOpen([](TfrmDiscProperties &dialog) {
            dialog.edtName->setText(u"aardvark"_s);
            dialog.edtLocation->setText(u"书房 柜2 第3格"_s);
            dialog.edtBorrower->setText(u"张三"_s);
        });
        m_main->actProperties->trigger();
        QTreeWidgetItem *renamed = m_main->rootNode()->child(0);
        QCOMPARE(renamed->text(0), u"aardvark"_s);
        QCOMPARE(m_main->tvCdIndex->currentItem(), renamed);
        QVERIFY(renamed->toolTip(0).contains(u"书房 柜2 第3格"_s));
        QVERIFY(renamed->toolTip(0).contains(u"张三"_s));
        const QList<LentDisc> lent = DiscLendingStore::lentDiscs(connection());
        QCOMPARE(lent.size(), 1);
        QCOMPARE(lent.first().name, u"aardvark"_s);

        // 归还 clears the lending; the history keeps it.
        whenPropertiesOpen([](TfrmDiscProperties &dialog) {
            QCOMPARE(dialog.edtBorrower->text(), u"张三"_s);
            dialog.btnReturn->click();
        });
        m_main->actProperties->trigger();
        QVERIFY(DiscLendingStore::lentDiscs(connection()).isEmpty());
        QVERIFY(!m_main->rootNode()->child(0)->toolTip(0).contains(u"张三"_s));
    }

    void filterNarrowsTheTreeAndKeepsTheSelection()
    {
        const int study = m_session->data.addDisc(u"Beatles"_s);
        m_session->data.addDisc(u"周杰伦"_s);
        m_session->data.addDisc(u"照片"_s);
        DiscChange change;
        change.location = u"书房 柜2"_s;
        DiscChangeStore::apply(connection(), study, change);
        openWindow();
        m_main->tvCdIndex->setCurrentItem(disc(u"照片"_s));
        m_main->edtDiscFilter->setText(u"sf"_s);
        QCOMPARE(shown(), QStringList{u"Beatles"_s});
        m_main->edtDiscFilter->setText(u"ZJL"_s);
        QCOMPARE(shown(), QStringList{u"周杰伦"_s});
        m_main->edtDiscFilter->clear();
        QCOMPARE(shown().size(), 3);
        QCOMPARE(m_main->tvCdIndex->currentItem(), disc(u"照片"_s));
    }
};

QTEST_MAIN(TestDiscShelf)
#include "tst_discshelf.moc"
