#include "numberpad.h"

#include "designfonts.h"

#include <QPushButton>

NumberPad::NumberPad(QWidget *parent)
    : KeyPanel(QStringLiteral("Frame2"), GridGeometry::numberPadRect, parent)
{
    for (int k = 1; k <= GridGeometry::PadKeyCount; ++k) {
        const bool display = k == GridGeometry::PadDisplayKey;
        QPushButton *button =
            addKey(QStringLiteral("Command4"), GridGeometry::padKeyRect(k),
                   display ? DesignFonts::smallKey() : DesignFonts::key(),
                   GridGeometry::padKeyCaption(k));
        if (display) {
            // A style sheet, since the platform style may ignore the palette of a button.
            button->setStyleSheet(QStringLiteral(
                "QPushButton { background-color: rgb(255, 255, 128); border: 1px solid gray; }"));
        }
    }
    // The panel and the two keys without a digit, named for a screen reader.
    setAccessibleName(QStringLiteral("цифры"));
    key(GridGeometry::PadClearKey)->setAccessibleName(QStringLiteral("стереть"));
    setDisplay(QString());
}

void NumberPad::setDisplay(const QString &text)
{
    QPushButton *display = key(GridGeometry::PadDisplayKey);
    if (display->text() == text && !display->accessibleName().isEmpty())
        return;
    display->setText(text);
    display->setAccessibleName(text.isEmpty() ? QStringLiteral("записать номер")
                                              : QStringLiteral("записать номер ") + text);
}
