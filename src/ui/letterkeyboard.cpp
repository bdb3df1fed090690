#include "letterkeyboard.h"

#include "controlarray.h"
#include "designfonts.h"
#include "twips.h"

#include <QPushButton>

LetterKeyboard::LetterKeyboard(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setFrameShape(QFrame::NoFrame);
    setGeometry(Twips::toPixels(GridGeometry::letterKeyboardRect));
    for (int k = 1; k <= GridGeometry::LetterKeyCount; ++k) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Command3"));
        ControlArray::setIndex(button, k);
        button->setGeometry(Twips::toPixels(GridGeometry::letterKeyRect(k)));
        button->setFont(k == GridGeometry::CloseKey ? DesignFonts::smallKey() : DesignFonts::key());
        button->setFocusPolicy(Qt::NoFocus);
        if (k != 32)
            button->setText(GridGeometry::letterKeyCaption(k));
        connect(button, &QPushButton::clicked, this, [this, k] { emit keyClicked(k); });
        m_keys[k - 1] = button;
    }
    hide();
}

QPushButton *LetterKeyboard::key(int index) const
{
    Q_ASSERT(index >= 1 && index <= GridGeometry::LetterKeyCount);
    return m_keys[index - 1];
}

void LetterKeyboard::nameLastLetterKey()
{
    m_keys[31]->setText(GridGeometry::letterKeyCaption(32));
}

void LetterKeyboard::moveTo(TwipPoint position)
{
    move(Twips::toPixels(position));
}
