#include "clickablelabel.h"

#include "controlarray.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent) {}

int ClickableLabel::index() const
{
    return ControlArray::indexOf(this);
}

void ClickableLabel::setIndex(int index)
{
    ControlArray::setIndex(this, index);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_leftDown = event->button() == Qt::LeftButton;
    emit pressed();
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasDown = m_leftDown;
    m_leftDown = false;
    event->accept();
    if (wasDown && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
