// The Windows face of KeyPlace: Qt reports the scan code of the key message,
// with the extended-key flag as bit 8.
#include "keyplace.h"

quint32 KeyPlace::pcScanCode(quint32 nativeScanCode)
{
    return nativeScanCode & 0x1ff;
}

quint32 KeyPlace::nativeScanCode(quint32 pcScanCode)
{
    return pcScanCode;
}
