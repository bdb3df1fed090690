#pragma once

#include "gridgeometry.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// The design is laid out in twips; the screen is drawn in pixels at 15 twips
// to the pixel. Every conversion in the program goes through here.
class Twips
{
public:
    static constexpr int PerPixel = 15;

    static int toPixels(int twips);
    static int fromPixels(int pixels) { return pixels * PerPixel; }
    static QPoint toPixels(TwipPoint point);
    static QRect toPixels(TwipRect rect);
    static QSize size(int widthTwips, int heightTwips);
    static QPoint point(int leftTwips, int topTwips);
};
