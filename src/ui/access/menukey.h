#pragma once

class QMainWindow;

// F10 opens a window's first menu, as in GNOME. Alt alone opens the menu bar
// too, but not while a screen reader listens to the keys: Qt 6.4's
// accessibility bridge holds Alt back and hands it on after the menu bar has
// opened, which closes it again.
class MenuKey
{
public:
    static void install(QMainWindow *window);
};
