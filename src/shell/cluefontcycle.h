#pragma once

#include <QtGlobal>

#include <optional>

// The "Шрифт" command's sizes: 12 -> 14 -> 16 -> 18 -> 12. The size read back
// from the pane is first rounded to a whole number, half to even, which
// absorbs a fraction of a point of difference.
class ClueFontCycle
{
public:
    // The next size, or nothing for a size outside the cycle.
    static std::optional<int> next(qreal currentPoints);
};
