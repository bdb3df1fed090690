#include "crosswordfile.h"

#include <cstddef>
#include <cstdint>

// Crossword files come from any disk and any hand-editor, so every byte
// sequence must be safe to read. Whatever the reader accepts, the writer must
// save so that it reads back the same: otherwise opening and re-saving a file
// silently changes the crossword.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    CrosswordDocument first;
    CrosswordFileError error;
    if (!CrosswordFile::decode(bytes, &first, &error)) {
        // Running short, UTF-16 and binary data are the only ways reading can fail.
        if (error.kind() != CrosswordFileError::Kind::Truncated &&
            error.kind() != CrosswordFileError::Kind::Utf16 &&
            error.kind() != CrosswordFileError::Kind::NotText)
            __builtin_trap();
        // The message is what the user sees; building it must be safe too.
        (void)error.message();
        return 0;
    }

    QByteArray written;
    if (!CrosswordFile::encode(first, &written, &error)) {
        (void)error.message();
        return 0;
    }

    CrosswordDocument second;
    if (!CrosswordFile::decode(written, &second, &error))
        __builtin_trap();
    if (!(second == first))
        __builtin_trap();
    return 0;
}
