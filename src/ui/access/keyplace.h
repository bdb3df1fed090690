#pragma once

#include <QtGlobal>

// The place of a key on the keyboard as its PC scan code (Q is 16, A is 30),
// from what Qt reports as the key's native scan code: on X11 and Wayland that
// is the X keyboard code, 8 higher; on Windows the scan code itself. A POSIX
// and a Windows face.
class KeyPlace
{
public:
    // 0 where the platform names no place.
    static quint32 pcScanCode(quint32 nativeScanCode);
    // The native scan code of the key in that place, the other way round.
    static quint32 nativeScanCode(quint32 pcScanCode);
};
