#pragma once

#include <QWidget>

// The client area of a main window: every control stands at its design place
// and keeps it. The area starts at its design size and grows with the window
// (never below the design size), so that a press on any bare background,
// the enlarged part included, is reported: it closes the pop-ups.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    // Size in twips.
    ClientArea(int widthTwips, int heightTwips, QWidget *parent = nullptr);

    // Line1 and Line2 along the top edge, as both main windows have them.
    void addTopLines(int lengthTwips);

    QSize sizeHint() const override;

signals:
    void backgroundPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QSize m_designSize;
};
