#pragma once

#include <QString>

// Where things stand on the crossword windows, in twips of the client area
// (or of the pop-up panel, for keys). Both main windows and both rule classes
// take their numbers from here and from nowhere else.

struct TwipRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect &other) const = default;
};

struct TwipPoint
{
    int left = 0;
    int top = 0;
    bool operator==(const TwipPoint &other) const = default;
};

class GridGeometry
{
public:
    // The two windows draw their letter labels in slightly different sizes.
    enum class Window { Solving, Editing };

    static constexpr int LetterKeyCount = 34;
    static constexpr int EraseKey = 33;
    static constexpr int CloseKey = 34;
    static constexpr int PadKeyCount = 12;
    static constexpr int PadClearKey = 11;
    static constexpr int PadDisplayKey = 12;

    static constexpr TwipRect letterKeyboardRect{120, 1200, 2250, 2250};
    static constexpr TwipRect numberPadRect{120, 3840, 1500, 1125};

    static TwipRect letterLabel(int cell, Window window);
    // Row 0 starts at 120, the other rows at 150: the windows have always drawn it so.
    static TwipRect numberLabel(int cell);

    // Top-left corner of the letter keyboard opened at a cell; the Left is never
    // corrected, so for the right-hand columns it reaches past the grid.
    static TwipPoint letterKeyboardPosition(int cell);
    // Top-left corner of the number pad opened at a cell.
    static TwipPoint numberPadPosition(int cell);

    // Key k (1..34) inside the letter keyboard, and its caption ("" for the erase key).
    static TwipRect letterKeyRect(int key);
    static QString letterKeyCaption(int key);
    // Key k (1..12) inside the number pad; keys 1..10 carry the digits 0..9.
    static TwipRect padKeyRect(int key);
    static QString padKeyCaption(int key);
};
