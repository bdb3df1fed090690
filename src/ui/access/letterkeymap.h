#pragma once

class QKeyEvent;
class QString;

// Which key of the pop-up letter keyboard a typed key stands for. A Russian
// letter stands for the key with that caption ("ё" for "е", which the
// keyboard has); on any other layout the key in the same place of the Russian
// layout counts, so a machine left on English still types Russian.
class LetterKeyMap
{
public:
    // 1..32 for a letter, GridGeometry::EraseKey for Backspace or Delete,
    // GridGeometry::CloseKey for Escape, 0 for anything else.
    static int keyFor(const QKeyEvent &event);
    // The letter key for one typed character, 0 when it is no Russian letter.
    static int keyForText(const QString &text);
};
