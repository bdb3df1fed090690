#include "clickablelabel.h"

#include "controlarray.h"
#include "plaintext.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent)
{
    // The grid's captions come from crossword files: never guess markup.
    PlainText::apply(this);
}

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
    // Qt hands over the second press of a double click only as this event,
    // also when the first click went to another control at the same place,
    // such as a key of a pop-up that closed over this label. It is a press all
    // the same, or that quick click would be lost.
    m_leftDown = event->button() == Qt::LeftButton;
    emit pressed();
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
