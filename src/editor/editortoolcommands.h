#pragma once

#include <QObject>
#include <QString>

class CrosswordDocument;
class Form4;
class Platform;

// The editing window's commands that the companion tool also has: make a
// crossword from a word list, check it, print it and write the pupils' web
// page. Each closes the pop-ups first and works on what the window shows,
// saved or not; none of them changes the window, except that a check can
// take the user to a cell or a clue and a made crossword replaces it.
class EditorToolCommands : public QObject
{
    Q_OBJECT

public:
    static const QString MessageTitle;

    // Connects itself to the window's menu items and lives as long as the window.
    EditorToolCommands(Form4 &window, Platform &platform);

    void make();
    void check();
    void print();
    void writePage();

    // The crossword's name as pupils see it: the file name without ".crs",
    // "" while untitled.
    QString crosswordTitle() const;
    // Where the page goes unless the user says otherwise: beside the crossword
    // under its name, or "кроссворд.html" while untitled.
    QString proposedPagePath() const;

signals:
    // A made crossword is to replace the window, as a new untitled one.
    void newCrosswordRequested(const CrosswordDocument &crossword);

private:
    Form4 &m_window;
    Platform &m_platform;
};
