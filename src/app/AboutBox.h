#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class Prompts;

// The about box: the product and its family, the program's version, the operating
// system and memory of this machine, and links to the web page and the mail address.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(Prompts &prompts, QWidget *parent = nullptr);

    static QString webAddress();
    static QString mailAddress();

    QLabel *ProgramIcon;
    QLabel *Company;
    QLabel *ProductName1;
    QLabel *ProductName3;
    QLabel *ProductName2;
    QLabel *Version;
    QLabel *Copyright;
    QLabel *URL;
    QLabel *EMAIL;
    QLabel *OS;
    QLabel *Label3;
    QLabel *PhysMem;
    QPushButton *OKButton;

    void URLClick();
    void EMAILClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createLabels();
    // Sets every text of the box's own in the interface's language.
    void retranslateUi();
    void FormCreate();
    void ShowSystemInfo();
    void ShowOsVersion();

    Prompts &m_prompts;
};
