// The Windows face of CommandLine's display rule: a program always has the
// desktop of its session, and nothing in the environment names it.
#include "commandline.h"

bool CommandLine::hasDisplay(const QProcessEnvironment &) const
{
    return true;
}
