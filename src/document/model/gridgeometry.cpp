#include "gridgeometry.h"

#include "crossworddocument.h"

#include <QtGlobal>

namespace {

constexpr int GridLeft = 120;
constexpr int GridTop = 360;
constexpr int ColumnStep = 450;
constexpr int RowStep = 480;
constexpr int NumberLabelSize = 180;
constexpr int NumberLabelLeftBelowFirstRow = 150;
constexpr int KeySize = 375;

constexpr const char16_t *LetterCaptions[] = {
    u"а", u"б", u"в", u"г", u"д", u"е", u"ж", u"з", u"и", u"й", u"к", u"л",
    u"м", u"н", u"о", u"п", u"р", u"с", u"т", u"у", u"ф", u"х", u"ц", u"ч",
    u"ш", u"щ", u"ъ", u"ы", u"ь", u"э", u"ю", u"я", u"", u"закрыть"};

constexpr const char16_t *PadCaptions[] = {u"0", u"1", u"2", u"3", u"4", u"5",
                                           u"6", u"7", u"8", u"9", u"", u""};

void requireKey(bool valid, int key)
{
    if (!valid)
        qFatal("GridGeometry: key %d does not exist", key);
}

} // namespace

TwipRect GridGeometry::letterLabel(int cell, Window window)
{
    const int row = CrosswordDocument::rowOf(cell);
    const int column = CrosswordDocument::columnOf(cell);
    const bool solving = window == Window::Solving;
    return {GridLeft + ColumnStep * column, GridTop + RowStep * row, solving ? 430 : 435,
            solving ? 460 : 465};
}

TwipRect GridGeometry::numberLabel(int cell)
{
    const int row = CrosswordDocument::rowOf(cell);
    const int column = CrosswordDocument::columnOf(cell);
    const int firstLeft = row == 0 ? GridLeft : NumberLabelLeftBelowFirstRow;
    return {firstLeft + ColumnStep * column, GridTop + RowStep * row, NumberLabelSize,
            NumberLabelSize};
}

TwipPoint GridGeometry::letterKeyboardPosition(int cell)
{
    // The letter label's Left and Top are the same in both windows.
    const TwipRect label = letterLabel(cell, Window::Solving);
    const int half = letterKeyboardRect.height / 2;
    int top = label.top;
    if (cell >= 320 && cell <= 379)
        top = label.top - half;
    else if (cell >= 380)
        top = label.top - half - 450;
    return {label.left, top};
}

TwipPoint GridGeometry::numberPadPosition(int cell)
{
    const TwipRect label = numberLabel(cell);
    return {label.left, cell >= 380 ? label.top - 500 : label.top};
}

TwipRect GridGeometry::letterKeyRect(int key)
{
    requireKey(key >= 1 && key <= LetterKeyCount, key);
    if (key == CloseKey)
        return {3 * KeySize, 5 * KeySize, 3 * KeySize, KeySize};
    return {KeySize * ((key - 1) % 6), KeySize * ((key - 1) / 6), KeySize, KeySize};
}

QString GridGeometry::letterKeyCaption(int key)
{
    requireKey(key >= 1 && key <= LetterKeyCount, key);
    return QString::fromUtf16(LetterCaptions[key - 1]);
}

TwipRect GridGeometry::padKeyRect(int key)
{
    requireKey(key >= 1 && key <= PadKeyCount, key);
    return {KeySize * ((key - 1) % 4), KeySize * ((key - 1) / 4), KeySize, KeySize};
}

QString GridGeometry::padKeyCaption(int key)
{
    requireKey(key >= 1 && key <= PadKeyCount, key);
    return QString::fromUtf16(PadCaptions[key - 1]);
}
