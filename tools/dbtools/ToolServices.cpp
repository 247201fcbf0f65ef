#include "tools/dbtools/ToolServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
ToolServices* g_services = nullptr;
}

ToolServices& ToolServices::current()
{
    static QtToolServices qtServices;
    return g_services ? *g_services : qtServices;
}

void ToolServices::setCurrent(ToolServices* services)
{
    g_services = services;
}

void QtToolServices::showAlert(QWidget* window, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    if (window)
        box.setWindowModality(Qt::WindowModal);
    box.exec();
}

int QtToolServices::ask(QWidget* window, const QString& title, const QString& text, const QStringList& buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, window);
    if (window)
        box.setWindowModality(Qt::WindowModal);
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < buttons.size() && i < 3; ++i) {
        QPushButton* button = nullptr;
        if (!buttons.at(i).isEmpty())
            button = box.addButton(buttons.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        if (i == 0 && button)
            box.setDefaultButton(button);
        added.append(button);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked ? added.indexOf(clicked) : -1) {
    case 0:
        return 1;
    case 2:
        return 2;
    default:
        return 0;
    }
}

QString QtToolServices::chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(window, title, startFolder, QFileDialog::ShowDirsOnly);
}

void QtToolServices::openHelp(const QUrl& page)
{
    QDesktopServices::openUrl(page);
}
