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

    // The bytes of a file. Fails, producing nothing, when a cell or the clue text
    // holds a character that Windows-1251 cannot represent.
    static bool encode(const CrosswordDocument &document, QByteArray *bytes,
                       CrosswordFileError *error);
    // Parses file bytes; any byte value is accepted. Fails only when the bytes end
    // before 400 records have been read.
    static bool decode(QByteArrayView bytes, CrosswordDocument *document,
                       CrosswordFileError *error);

    // Reads a file of at most MaxFileSize bytes. On failure the document is untouched.
    static bool read(const QString &path, CrosswordDocument *document, CrosswordFileError *error);
    // Replaces the file atomically: on any failure the file at path is as it was.
    static bool write(const QString &path, const CrosswordDocument &document,
                      CrosswordFileError *error);
};
