#include "cluefontcycle.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

std::optional<int> ClueFontCycle::next(qreal currentPoints)
{
    if (!std::isfinite(currentPoints))
        return std::nullopt;
    const int previousMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const qreal whole = std::nearbyint(currentPoints);
    std::fesetround(previousMode);
    switch (static_cast<int>(std::clamp<qreal>(whole, -32768, 32767))) {
    case 12:
        return 14;
    case 14:
        return 16;
    case 16:
        return 18;
    case 18:
        return 12;
    default:
        return std::nullopt;
    }
}
