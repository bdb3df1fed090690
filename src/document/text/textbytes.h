#pragma once

#include <QByteArrayView>

// Whether a file's bytes are text at all, before any encoding is chosen: what
// every reader of the project refuses rather than show as nonsense.
class TextBytes
{
public:
    // Below 0x20 but tab, LF and CR, and 0x7F: no text needs them, and on a
    // terminal they do harm.
    static bool isControl(char byte);
    // The offset of the first control byte when the bytes hold more of them
    // than lines (CR LF, LF and a lone CR each end one), or -1. Text has such
    // a byte here and there at most; a picture, an archive or UTF-16 without
    // its byte order mark has them everywhere.
    static qsizetype binaryAt(QByteArrayView bytes);
    // Starts with the byte order mark of UTF-16, in either byte order.
    static bool startsAsUtf16(QByteArrayView bytes);
};
