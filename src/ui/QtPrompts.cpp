#include "QtPrompts.h"

#include "ApplicationTitle.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

QWidget *QtPrompts::owner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void QtPrompts::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle::get(), text, QMessageBox::Ok, owner());
    box.exec();
}

bool QtPrompts::confirm(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void QtPrompts::critical(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner());
    box.exec();
}

QString QtPrompts::inputText(const QString &caption, const QString &prompt, const QString &initial, bool *ok)
{
    return QInputDialog::getText(owner(), caption, prompt, QLineEdit::Normal, initial, ok);
}

QString QtPrompts::saveFileName(const QString &folder, const QString &filter, const QString &defaultSuffix,
                                bool askOverwrite)
{
    QFileDialog dialog(owner(), QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::existingFolder(const QString &caption, const QString &folder)
{
    return QFileDialog::getExistingDirectory(owner(), caption, folder);
}
