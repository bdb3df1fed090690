#pragma once

#include "crossworddocument.h"
#include "crosswordfileerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The .crs format: 400 lines "letter","number" in Windows-1251 with CR LF,
// then the clue text and one CR LF.
//
// The reader takes back exactly what the writer wrote: the one CR LF after the
// clue text is dropped again, so saving and loading never grows the clues.
class CrosswordFile
{
public:
    // Real crosswords are a few kilobytes; anything past this is not one.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    // The bytes of a file, always in Windows-1251. Fails, producing nothing, when
    // a cell or the clue text holds a character that Windows-1251 cannot
    // represent, when the file would be larger than the reader accepts, or when
    // the bytes would read back as UTF-8 or as no text.
    static bool encode(const CrosswordDocument &document, QByteArray *bytes,
                       CrosswordFileError *error);
    // Whether the bytes can be a crossword file at all, however loosely it is
    // read: neither UTF-16 nor binary data (see TextBytes), which would show
    // as a grid of nonsense.
    static bool isText(QByteArrayView bytes, CrosswordFileError *error);
    // Parses file bytes as Windows-1251, or as UTF-8 when they are valid UTF-8
    // with at least one multi-byte sequence; any byte value is accepted. Fails
    // when isText() does, or when the bytes end before 400 records have been read.
    static bool decode(QByteArrayView bytes, CrosswordDocument *document,
                       CrosswordFileError *error);

    // The bytes of a regular file of at most MaxFileSize bytes, for readers
    // that look at them before decoding.
    static bool readBytes(const QString &path, QByteArray *bytes, CrosswordFileError *error);
    // Reads a file of at most MaxFileSize bytes. On failure the document is untouched.
    static bool read(const QString &path, CrosswordDocument *document, CrosswordFileError *error);
    // Saves through SafeFileWriter: mode, group and hard links are kept. On
    // failure the error says whether the file is as it was or half-written.
    static bool write(const QString &path, const CrosswordDocument &document,
                      CrosswordFileError *error);
};
