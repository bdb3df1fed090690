#pragma once

#include <QString>

class QAction;
class QMainWindow;
class QMenu;

// The menu bars of the two main windows, with the design's captions and
// object names. The windows' owners find the commands by name and connect them.
class MainMenus
{
public:
    // "Кроссворд" with "Открыть...", a separator and "Выход".
    static void buildSolving(QMainWindow *window);
    // "Кроссворд" with "Открыть...", "Создать", "-", "Сохранить", "Сохранить как...", "-",
    // "Составить из списка слов...", "Проверить", "Печать...", "Страница для учеников...",
    // "-", "Выход".
    static void buildEditing(QMainWindow *window);

    // The command with this object name (menuopen, menufont, menuhelp2...).
    static QAction *action(const QMainWindow *window, const QString &name);

private:
    static QMenu *addCrosswordMenu(QMainWindow *window);
    static QAction *addItem(QMenu *menu, const QString &name, const QString &caption);
    static void addFontAndHelp(QMainWindow *window);
};
