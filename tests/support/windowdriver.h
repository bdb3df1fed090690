#pragma once

#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QString>

#include <gtest/gtest.h>

class ClickableLabel;
class QAction;
class CluePane;
class QPushButton;

// Finds a main window's controls by their design names and clicks them the
// way a user would: at a point of the window, so that Qt delivers the click
// to whatever widget is topmost there.
class WindowDriver
{
public:
    explicit WindowDriver(QMainWindow &window) : m_window(window) {}

    template <typename T> T *named(const QString &name) const
    {
        T *control = m_window.findChild<T *>(name);
        if (!control)
            ADD_FAILURE() << "no control " << name.toStdString();
        return control;
    }
    ClickableLabel *letter(int cell) const;
    ClickableLabel *number(int cell) const;
    QPushButton *key(int index) const;
    QPushButton *padKey(int index) const;
    QWidget *keyboard() const;
    CluePane *pane() const;
    QWidget *client() const { return m_window.centralWidget(); }

    void clickAt(QPoint clientPoint);
    // The letter layer: the cell away from its number label's corner.
    void clickLetter(int cell);
    // The number layer: the corner square.
    void clickNumber(int cell);

    // "Caption:objectName" per command, "-" per separator, "Caption[...]" per submenu.
    static QStringList describeMenus(const QList<QAction *> &actions);
    // Whether any command, at any depth, has a shortcut key or a mnemonic.
    static bool anyShortcut(const QList<QAction *> &actions);

private:
    QMainWindow &m_window;
};
