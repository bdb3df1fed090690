#include "utf8text.h"

int Utf8Text::sequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + at;
    const qsizetype left = bytes.size() - at;
    const unsigned char lead = p[0];
    if (lead < 0x80)
        return 1;
    int continuation;
    unsigned char low = 0x80; // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuation = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuation = 2;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuation = 3;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left <= continuation || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i <= continuation; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return continuation + 1;
}

bool Utf8Text::looksLikeUtf8(QByteArrayView bytes)
{
    // Stops at the first byte that cannot be UTF-8, which in a Windows-1251
    // file is almost always its first letter.
    bool multiByte = false;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const int length = sequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
        multiByte = true;
    }
    return multiByte;
}
