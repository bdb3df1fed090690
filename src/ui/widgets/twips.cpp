#include "twips.h"

#include <QtMath>

int Twips::toPixels(int twips)
{
    return qRound(twips / double(PerPixel));
}

QPoint Twips::toPixels(TwipPoint point)
{
    return {toPixels(point.left), toPixels(point.top)};
}

QRect Twips::toPixels(TwipRect rect)
{
    return {toPixels(rect.left), toPixels(rect.top), toPixels(rect.width), toPixels(rect.height)};
}

QSize Twips::size(int widthTwips, int heightTwips)
{
    return {toPixels(widthTwips), toPixels(heightTwips)};
}

QPoint Twips::point(int leftTwips, int topTwips)
{
    return {toPixels(leftTwips), toPixels(topTwips)};
}
