#include "mainmenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QAction *MainMenus::addItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QMenu *MainMenus::addCrosswordMenu(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    // The client area sits right under the window's own bar on every desktop.
    bar->setNativeMenuBar(false);
    QMenu *menu = bar->addMenu(QStringLiteral("Кроссворд"));
    menu->setObjectName(QStringLiteral("menucrossword"));
    return menu;
}

void MainMenus::addFontAndHelp(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QAction *font = bar->addAction(QStringLiteral("Шрифт"));
    font->setObjectName(QStringLiteral("menufont"));

    QMenu *help = bar->addMenu(QStringLiteral("Справка"));
    help->setObjectName(QStringLiteral("menuhelp"));
    help->menuAction()->setObjectName(QStringLiteral("menuhelp"));
    addItem(help, QStringLiteral("menuhelp1"), QStringLiteral("Содержание..."));
    help->addSeparator();
    addItem(help, QStringLiteral("menuhelp2"), QStringLiteral("О программе"));
}

void MainMenus::buildSolving(QMainWindow *window)
{
    QMenu *crossword = addCrosswordMenu(window);
    addItem(crossword, QStringLiteral("menuopen"), QStringLiteral("Открыть..."));
    crossword->addSeparator();
    addItem(crossword, QStringLiteral("menuend"), QStringLiteral("Выход"));
    addFontAndHelp(window);
}

void MainMenus::buildEditing(QMainWindow *window)
{
    QMenu *crossword = addCrosswordMenu(window);
    addItem(crossword, QStringLiteral("menuopen"), QStringLiteral("Открыть..."));
    addItem(crossword, QStringLiteral("menunew"), QStringLiteral("Создать"));
    crossword->addSeparator()->setObjectName(QStringLiteral("menuline1"));
    addItem(crossword, QStringLiteral("menusave1"), QStringLiteral("Сохранить"));
    addItem(crossword, QStringLiteral("menusave2"), QStringLiteral("Сохранить как..."));
    crossword->addSeparator()->setObjectName(QStringLiteral("menuline2"));
    addItem(crossword, QStringLiteral("menumake"), QStringLiteral("Составить из списка слов..."));
    addItem(crossword, QStringLiteral("menucheck"), QStringLiteral("Проверить"));
    addItem(crossword, QStringLiteral("menuprint"), QStringLiteral("Печать..."));
    addItem(crossword, QStringLiteral("menupage"), QStringLiteral("Страница для учеников..."));
    crossword->addSeparator()->setObjectName(QStringLiteral("menuline3"));
    addItem(crossword, QStringLiteral("menuend"), QStringLiteral("Выход"));
    addFontAndHelp(window);
}

QAction *MainMenus::action(const QMainWindow *window, const QString &name)
{
    return window->menuBar()->findChild<QAction *>(name);
}
