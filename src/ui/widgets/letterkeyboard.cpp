#include "letterkeyboard.h"

#include "designfonts.h"

#include <QPushButton>

namespace {
constexpr int LastLetterKey = 32;
}

LetterKeyboard::LetterKeyboard(QWidget *parent)
    : KeyPanel(QStringLiteral("Frame1"), GridGeometry::letterKeyboardRect, parent)
{
    for (int k = 1; k <= GridGeometry::LetterKeyCount; ++k) {
        addKey(QStringLiteral("Command3"), GridGeometry::letterKeyRect(k),
               k == GridGeometry::CloseKey ? DesignFonts::smallKey() : DesignFonts::key(),
               k == LastLetterKey ? QString() : GridGeometry::letterKeyCaption(k));
    }
    // The panel and its erase key have no caption to be read by.
    setAccessibleName(QStringLiteral("клавиатура"));
    key(GridGeometry::EraseKey)->setAccessibleName(QStringLiteral("стереть"));
}

void LetterKeyboard::nameLastLetterKey()
{
    key(LastLetterKey)->setText(GridGeometry::letterKeyCaption(LastLetterKey));
}
