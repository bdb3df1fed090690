// The POSIX face of CommandLine's display rule: X11 and Wayland name their
// display in the environment.
#include "commandline.h"

bool CommandLine::hasDisplay(const QProcessEnvironment &environment) const
{
    if (m_platformGiven || m_displayGiven)
        return true;
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty())
            return true;
    }
    return false;
}
