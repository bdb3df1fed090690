#include "crosswordfile.h"
#include "strictcrosswordreader.h"
#include "wordlist.h"

#include <cstddef>
#include <cstdint>

// The companion tool reads crosswords strictly and word lists in three
// encodings, from whatever a teacher names on the command line. Neither may
// crash, and what they accept must be what the rest of the tool relies on.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    // A file the strict reader passes is one the ordinary reader takes whole,
    // with no cell value that could not be written back.
    if (StrictCrosswordReader::problem(bytes, QStringLiteral("f.crs")).isEmpty()) {
        CrosswordDocument document;
        if (!CrosswordFile::decode(bytes, &document, nullptr))
            __builtin_trap();
        for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
            for (const QString *value : {&document.letter(i), &document.number(i)}) {
                if (value->contains(u'"') || value->contains(u'\r') || value->contains(u'\n'))
                    __builtin_trap();
            }
        }
    }

    // Every entry of a list is an answer the keyboard can type and a clue a
    // crossword file can hold on one line.
    const WordList list = WordList::parse(bytes);
    for (const WordList::Entry &entry : list.entries()) {
        if (entry.answer.size() < WordList::MinLength || entry.answer.size() > WordList::MaxLength)
            __builtin_trap();
        for (QChar c : entry.answer) {
            if (c < u'а' || c > u'я')
                __builtin_trap();
        }
        if (entry.clue.isEmpty())
            __builtin_trap();
        for (QChar c : entry.clue) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                __builtin_trap();
        }
    }
    return 0;
}
