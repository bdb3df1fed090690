// The Windows face of PaintingPlatform.
#include "paintingplatform.h"

const char *PaintingPlatform::name()
{
    return "windows";
}
