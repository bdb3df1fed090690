#include "letterkeymap.h"

#include "gridgeometry.h"
#include "keyplace.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace {

// Physical keys of the Russian layout: the PC scan code of the key's place
// (see KeyPlace) and the Latin key of a US layout in the same place, with the
// letter each one types.
struct PlacedLetter
{
    quint32 code;
    int latinKey;
    char16_t letter;
};

constexpr std::array<PlacedLetter, 33> Placed{{
    {41, Qt::Key_QuoteLeft, u'е'}, // ё
    {16, Qt::Key_Q, u'й'},           {17, Qt::Key_W, u'ц'},
    {18, Qt::Key_E, u'у'},           {19, Qt::Key_R, u'к'},
    {20, Qt::Key_T, u'е'},           {21, Qt::Key_Y, u'н'},
    {22, Qt::Key_U, u'г'},           {23, Qt::Key_I, u'ш'},
    {24, Qt::Key_O, u'щ'},           {25, Qt::Key_P, u'з'},
    {26, Qt::Key_BracketLeft, u'х'}, {27, Qt::Key_BracketRight, u'ъ'},
    {30, Qt::Key_A, u'ф'},           {31, Qt::Key_S, u'ы'},
    {32, Qt::Key_D, u'в'},           {33, Qt::Key_F, u'а'},
    {34, Qt::Key_G, u'п'},           {35, Qt::Key_H, u'р'},
    {36, Qt::Key_J, u'о'},           {37, Qt::Key_K, u'л'},
    {38, Qt::Key_L, u'д'},           {39, Qt::Key_Semicolon, u'ж'},
    {40, Qt::Key_Apostrophe, u'э'},  {44, Qt::Key_Z, u'я'},
    {45, Qt::Key_X, u'ч'},           {46, Qt::Key_C, u'с'},
    {47, Qt::Key_V, u'м'},           {48, Qt::Key_B, u'и'},
    {49, Qt::Key_N, u'т'},           {50, Qt::Key_M, u'ь'},
    {51, Qt::Key_Comma, u'б'},       {52, Qt::Key_Period, u'ю'},
}};

int keyForLetter(char16_t letter)
{
    if (letter == u'ё')
        letter = u'е';
    for (int key = 1; key < GridGeometry::EraseKey; ++key) {
        if (GridGeometry::letterKeyCaption(key) == QChar(letter))
            return key;
    }
    return 0;
}

} // namespace

int LetterKeyMap::keyForText(const QString &text)
{
    if (text.size() != 1)
        return 0;
    return keyForLetter(char16_t(text.at(0).toLower().unicode()));
}

int LetterKeyMap::keyFor(const QKeyEvent &event)
{
    // Shortcuts with Ctrl, Alt or Meta are never letters.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return GridGeometry::EraseKey;
    case Qt::Key_Escape:
        return GridGeometry::CloseKey;
    default:
        break;
    }
    if (const int key = keyForText(event.text()))
        return key;
    // Not a Russian letter: the key's place decides. Where the platform names
    // no place (0), a US layout is assumed.
    const quint32 code = KeyPlace::pcScanCode(event.nativeScanCode());
    for (const PlacedLetter &placed : Placed) {
        if (code != 0 ? placed.code == code : placed.latinKey == event.key())
            return keyForLetter(placed.letter);
    }
    return 0;
}
