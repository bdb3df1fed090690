#include "numberpad.h"

#include "controlarray.h"
#include "designfonts.h"
#include "twips.h"

#include <QPushButton>

NumberPad::NumberPad(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame2"));
    setFrameShape(QFrame::NoFrame);
    setGeometry(Twips::toPixels(GridGeometry::numberPadRect));
    for (int k = 1; k <= GridGeometry::PadKeyCount; ++k) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("Command4"));
        ControlArray::setIndex(button, k);
        button->setGeometry(Twips::toPixels(GridGeometry::padKeyRect(k)));
        button->setFocusPolicy(Qt::NoFocus);
        button->setText(GridGeometry::padKeyCaption(k));
        if (k == GridGeometry::PadDisplayKey) {
            button->setFont(DesignFonts::smallKey());
            // A style sheet, since the platform style may ignore the palette of a button.
            button->setStyleSheet(QStringLiteral(
                "QPushButton { background-color: rgb(255, 255, 128); border: 1px solid gray; }"));
        } else {
            button->setFont(DesignFonts::key());
        }
        connect(button, &QPushButton::clicked, this, [this, k] { emit keyClicked(k); });
        m_keys[k - 1] = button;
    }
    hide();
}

QPushButton *NumberPad::key(int index) const
{
    Q_ASSERT(index >= 1 && index <= GridGeometry::PadKeyCount);
    return m_keys[index - 1];
}

void NumberPad::setDisplay(const QString &text)
{
    m_keys[GridGeometry::PadDisplayKey - 1]->setText(text);
}

void NumberPad::moveTo(TwipPoint position)
{
    move(Twips::toPixels(position));
}
