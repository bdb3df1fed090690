#pragma once

#include <QWidget>

// The client area of a main window: a fixed-size surface on which every
// control stands at its design place. A press on the bare background is
// reported, since it closes the pop-ups.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    // Size in twips.
    ClientArea(int widthTwips, int heightTwips, QWidget *parent = nullptr);

    // Line1 and Line2 along the top edge, as both main windows have them.
    void addTopLines(int lengthTwips);

signals:
    void backgroundPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
