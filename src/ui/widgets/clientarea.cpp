#include "clientarea.h"

#include "twips.h"

#include <QFrame>
#include <QMouseEvent>

ClientArea::ClientArea(int widthTwips, int heightTwips, QWidget *parent)
    : QWidget(parent), m_designSize(Twips::size(widthTwips, heightTwips))
{
    // No layout: the controls never follow the window's size.
    setMinimumSize(m_designSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ClientArea::sizeHint() const
{
    return m_designSize;
}

void ClientArea::mousePressEvent(QMouseEvent *event)
{
    emit backgroundPressed();
    event->accept();
}

void ClientArea::addTopLines(int lengthTwips)
{
    // A shadow line with a highlight under it: the etched edge below the menu bar.
    const int length = Twips::toPixels(lengthTwips);
    const struct
    {
        const char *name;
        QPalette::ColorRole role;
        int top;
    } lines[] = {{"Line1", QPalette::Dark, 0}, {"Line2", QPalette::Light, 1}};
    for (const auto &line : lines) {
        auto *frame = new QFrame(this);
        frame->setObjectName(QString::fromLatin1(line.name));
        frame->setGeometry(0, line.top, length, 1);
        frame->setAutoFillBackground(true);
        QPalette p = frame->palette();
        p.setColor(QPalette::Window, palette().color(line.role));
        frame->setPalette(p);
    }
}
