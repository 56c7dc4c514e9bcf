#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QWidget;
class Prompts;
class TdmQL;
class TLCommFunction;
class TQuery;

// The extension categories and their file masks as a chooser: a category list (cbCatalog)
// above the chosen category's masks (lbCatalog), with the actions that add, rename and
// delete categories and masks in the catalogue. Every change is stored before its handler
// returns. The category dialog shows it in every mode; the import reads the masks of the
// chosen category from it.
//
// Every entry of cbCatalog carries its category's extCode and every entry of lbCatalog
// its mask's rowid, so the entry the user picked is the row that is changed, also when
// two names differ only in letter case.
class TCategoryChooser : public QObject {
    Q_OBJECT
public:
    // The panels are made as children of the given widgets; the actions belong to this.
    TCategoryChooser(TdmQL &dm, TLCommFunction &commFunction, Prompts &prompts, QWidget *categoryParent,
                     QWidget *maskParent);

    // Reads the categories and selects the first one with its masks.
    void Fill();
    // Lays the mask list out to reach to 8 pixels above the bottom of its panel.
    void FitMaskList();
    // The masks of the chosen category, as listed.
    QStringList maskTexts() const;
    // Sets the texts of the actions and labels in the interface's language; the window
    // showing the chooser calls it when the language changes.
    void retranslateUi();

    // Event handlers.
    void cbCatalogChange();
    void InslbCatalog();
    void actAddExecute();
    void actEditExecute();
    void actDelExecute();
    void actDAddExecute();
    void actDEditExecute();
    void actDEraseExecute();
    void lbCatalogEnter();
    void lbCatalogExit();

    QFrame *pnlCatalog;
    QLabel *Label1;
    QComboBox *cbCatalog;
    QFrame *pnlMask;
    QLabel *Label2;
    QListWidget *lbCatalog;

    QAction *actAdd;
    QAction *actEdit;
    QAction *actDel;
    QAction *actDAdd;
    QAction *actDEdit;
    QAction *actDErase;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *makeAction(const char *name, void (TCategoryChooser::*handler)());
    void createActions();
    QFrame *createCategoryPanel(QWidget *parent);
    QFrame *createMaskPanel(QWidget *parent);
    void guarded(const std::function<void()> &handler);

    // Categories.
    void fillCatalog();
    QVariant selectedCategory() const;
    bool locateCategory();
    void setCategoryActions(bool enabled);
    void reloadLists();

    // Masks.
    int selectedMask() const;
    QVariant maskKey(int row) const;
    bool locateMask(int row);
    void addMaskEntry(const QString &text, const QVariant &key);
    void selectMask(int row);
    void setMaskActions(bool enabled);

    // Asks for a new name in place of old: the trimmed answer, or none when the user
    // cancelled or left it as it was.
    std::optional<QString> askNewName(const QString &old);
    // Runs one row operation of a dataset; on failure the pending change is cancelled and
    // the lists are read again from the catalogue.
    bool storeStep(TQuery &dataSet, const std::function<bool()> &step);
    // Raises the store's error when the row an entry stands for is not in its dataset.
    static void requireRow(bool located);

    TdmQL &m_dm;
    TLCommFunction &m_commFunction;
    Prompts &m_prompts;
};
