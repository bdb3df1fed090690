// The POSIX face of KeyPlace: X keyboard codes are the kernel's key codes
// (the PC scan codes, for these keys) plus 8.
#include "keyplace.h"

namespace {

constexpr quint32 XOffset = 8;

} // namespace

quint32 KeyPlace::pcScanCode(quint32 nativeScanCode)
{
    return nativeScanCode > XOffset ? nativeScanCode - XOffset : 0;
}

quint32 KeyPlace::nativeScanCode(quint32 pcScanCode)
{
    return pcScanCode == 0 ? 0 : pcScanCode + XOffset;
}
