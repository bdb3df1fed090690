#pragma once

#include "gridgeometry.h"

#include <QObject>

#include <array>

class ClickableLabel;
class QColor;
class QWidget;

// The 400 letter labels Label1 and the 400 number labels Label2 of a grid.
// Element 0 of each exists from the start; createElements() makes 1..399 as
// copies of it, each number label above its letter label.
class GridLabels : public QObject
{
    Q_OBJECT

public:
    GridLabels(QWidget *clientArea, GridGeometry::Window window);

    void createElements();
    bool hasElements() const { return m_letters[1] != nullptr; }

    ClickableLabel *letterLabel(int cell) const;
    ClickableLabel *numberLabel(int cell) const;

    // Background of a letter label; labels compare before repainting.
    static void setBackground(ClickableLabel *label, const QColor &colour);
    static QColor background(const ClickableLabel *label);
    // Caption, visibility and enabled flag, touching the widget only on change.
    static void setCaption(ClickableLabel *label, const QString &text);

signals:
    void letterClicked(int cell);
    void numberClicked(int cell);

private:
    ClickableLabel *makeLetter(int cell);
    ClickableLabel *makeNumber(int cell);

    QWidget *m_client;
    GridGeometry::Window m_window;
    std::array<ClickableLabel *, 400> m_letters{};
    std::array<ClickableLabel *, 400> m_numbers{};
};
