#pragma once

#include "commondialog.h"

#include <QObject>

class Form4;
class Platform;

// The editing window's "Кроссворд" commands: New, Open (behind the password of
// the day), Save and Save As. Each closes the pop-ups first. A file that cannot
// be read or written is reported in a message box and changes nothing in the
// window: the grid, the clues, the file name and the title stay as they were.
class EditorFileCommands : public QObject
{
    Q_OBJECT

public:
    static const QString MessageTitle;

    // Connects itself to the window's menu items and lives as long as the window.
    EditorFileCommands(Form4 &window, Platform &platform);

    void newCrossword();
    void open();
    void save();
    void saveAs();

    CommonDialog &dialog() { return m_dialog; }

signals:
    // New asks the owner to unload this window and show a fresh one.
    void reloadRequested();

private:
    bool writeTo(const QString &path);

    Form4 &m_window;
    Platform &m_platform;
    CommonDialog m_dialog;
};
