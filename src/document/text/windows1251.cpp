#include "windows1251.h"

#include <array>

namespace {

// The characters of bytes 0x80-0xFF; 0x00-0x7F are ASCII.
constexpr std::array<char16_t, 128> Upper = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, //
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, //
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, //
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, //
};

// The letters А-я (0xC0-0xFF) follow each other; the rest are looked up.
int byteFor(char16_t c)
{
    if (c < 0x80)
        return c;
    if (c >= 0x0410 && c <= 0x044F)
        return 0xC0 + (c - 0x0410);
    for (int i = 0; i < 0x40; ++i) {
        if (Upper[size_t(i)] == c)
            return 0x80 + i;
    }
    return -1;
}

constexpr char16_t charFor(int byte)
{
    if (byte < 0x80)
        return char16_t(byte);
    if (byte >= 0xC0)
        return char16_t(0x0410 + (byte - 0xC0));
    return Upper[size_t(byte - 0x80)];
}

} // namespace

QString Windows1251::decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(charFor(uchar(byte)));
    return text;
}

bool Windows1251::encode(QStringView text, QByteArray *bytes, qsizetype *badPosition)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = byteFor(text[i].unicode());
        if (byte < 0) {
            if (badPosition)
                *badPosition = i;
            return false;
        }
        out[i] = char(byte);
    }
    *bytes = std::move(out);
    return true;
}
