#pragma once

#include <QWidget>

class QPushButton;

// The start window: "открыть" above "создать", focus on "открыть".
class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(QWidget *parent = nullptr);

    QPushButton *openButton() const { return m_open; }
    QPushButton *createButton() const { return m_create; }

    // Moves the window's outer position by a distance in twips. Pixels are
    // whole multiples of 15 twips, so a move and the opposite move round to
    // opposite pixel distances and the window comes back exactly.
    void moveByTwips(float leftTwips, float topTwips);

signals:
    void openClicked();
    void createClicked();

private:
    QPushButton *m_open = nullptr;
    QPushButton *m_create = nullptr;
};
