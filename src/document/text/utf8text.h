#pragma once

#include <QByteArrayView>

// UTF-8 as every reader of the project understands it: overlong forms,
// surrogates and code points past U+10FFFF are not UTF-8.
class Utf8Text
{
public:
    // The length of the valid sequence that starts at bytes[at]: 1 for ASCII,
    // 2 to 4 for the rest, 0 when no valid sequence starts there.
    static int sequenceLength(QByteArrayView bytes, qsizetype at);

    // Valid UTF-8 holding at least one multi-byte sequence: how a file shows
    // that it is UTF-8 rather than Windows-1251 (see CrosswordFile::decode).
    static bool looksLikeUtf8(QByteArrayView bytes);
};
