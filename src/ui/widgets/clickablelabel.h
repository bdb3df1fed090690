#pragma once

#include <QLabel>

// A label that reports presses, clicks and double clicks, as the grid cells
// and the history caption need. A click is a left press and release inside;
// each half of a double click is one. Captions are always plain text.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

    // Position of the element in its control array (Label1(37) has index 37).
    int index() const;
    void setIndex(int index);

signals:
    void pressed();
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_leftDown = false;
};
