#include "keypanel.h"

#include "controlarray.h"
#include "twips.h"

#include <QPushButton>

KeyPanel::KeyPanel(const QString &panelName, TwipRect designRect, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(panelName);
    setFrameShape(QFrame::NoFrame);
    setGeometry(Twips::toPixels(designRect));
    hide();
}

QPushButton *KeyPanel::addKey(const QString &arrayName, TwipRect rect, const QFont &font,
                              const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    const int index = int(m_keys.size()) + 1;
    button->setObjectName(arrayName);
    ControlArray::setIndex(button, index);
    button->setGeometry(Twips::toPixels(rect));
    button->setFont(font);
    // The keys must not take the focus from the clue pane.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, index] { emit keyClicked(index); });
    m_keys.append(button);
    return button;
}

QPushButton *KeyPanel::key(int index) const
{
    Q_ASSERT(index >= 1 && index <= m_keys.size());
    return m_keys.at(index - 1);
}

void KeyPanel::moveTo(TwipPoint position)
{
    move(Twips::toPixels(position));
}
