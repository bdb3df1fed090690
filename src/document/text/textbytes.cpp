#include "textbytes.h"

bool TextBytes::isControl(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return (b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F;
}

qsizetype TextBytes::binaryAt(QByteArrayView bytes)
{
    qsizetype lines = 1;
    qsizetype controls = 0;
    qsizetype first = -1;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        const char b = bytes[at];
        if (b == '\n' || (b == '\r' && (at + 1 == bytes.size() || bytes[at + 1] != '\n')))
            ++lines;
        else if (isControl(b) && controls++ == 0)
            first = at;
    }
    return controls > lines ? first : -1;
}

bool TextBytes::startsAsUtf16(QByteArrayView bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}
