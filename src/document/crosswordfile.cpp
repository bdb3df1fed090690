#include "crosswordfile.h"

#include "filebytes.h"
#include "filefailurereason.h"
#include "safefilewriter.h"
#include "textbytes.h"
#include "utf8text.h"
#include "windows1251.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace {

constexpr int FieldCount = CrosswordDocument::CellCount * 2;

void setError(CrosswordFileError *error, const CrosswordFileError &value)
{
    if (error)
        *error = value;
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Text editors on Linux save new files as UTF-8; such a file is read as UTF-8
// when its bytes are valid UTF-8 and hold at least one multi-byte sequence.
// A Windows-1251 crossword practically never passes that test: its Cyrillic
// letters are the bytes 0xC0-0xFF, and in UTF-8 each of those must be followed
// by one to three bytes from 0x80-0xBF, which in Windows-1251 are not letters
// but rare signs (quotes, dashes, ё, №...). A lettered cell is written as a
// letter between two quote bytes, which is never valid UTF-8; so is any
// lower-case letter followed by another letter or a space. The writer refuses
// the one kind of file that could be taken for UTF-8 (see encode()).
bool looksLikeUtf8(QByteArrayView bytes)
{
    return Utf8Text::looksLikeUtf8(bytes);
}

// Walks the decoded text field by field.
class FieldReader
{
public:
    explicit FieldReader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Records never start on an empty line; hand-edited files may have some.
    void skipEmptyLines()
    {
        qsizetype pos = m_pos;
        while (pos < m_text.size() && (isBlank(m_text[pos]) || isLineEnd(m_text[pos]))) {
            if (isLineEnd(m_text[pos]))
                m_pos = pos + 1;
            ++pos;
        }
    }

    // Reads one field; false when the text ended before a complete field.
    bool readField(QString *value)
    {
        while (!atEnd() && isBlank(m_text[m_pos]))
            ++m_pos;
        if (atEnd())
            return false;
        if (m_text[m_pos] == u'"') {
            const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
            if (close < 0)
                return false;
            *value = valueAt(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            // Whatever stands between the closing quote and the separator is ignored.
            while (!atEnd() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
                ++m_pos;
        } else {
            const qsizetype start = m_pos;
            while (!atEnd() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
                ++m_pos;
            // An unquoted value is taken literally (leading zeros included), less trailing blanks.
            qsizetype end = m_pos;
            while (end > start && isBlank(m_text[end - 1]))
                --end;
            *value = valueAt(start, end - start);
        }
        skipSeparator();
        return true;
    }

    // The clue text: the rest, with every line break made CR LF and the one
    // break that the writer put after the text removed.
    QString rest() const
    {
        QString clue = m_text.sliced(m_pos);
        if (hasLoneLineBreak(clue)) {
            clue.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            clue.replace(u'\r', u'\n');
            clue.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        }
        if (clue.endsWith(QStringLiteral("\r\n")))
            clue.chop(2);
        return clue;
    }

private:
    // Cells hold one letter or a short number; strings of one character are
    // shared between cells instead of allocated 400 times.
    QString valueAt(qsizetype start, qsizetype length)
    {
        if (length == 0)
            return {};
        if (length == 1) {
            const char16_t c = m_text[start].unicode();
            const int slot = c < 0x80 ? c : (c >= 0x400 && c < 0x460 ? 0x80 + c - 0x400 : -1);
            if (slot >= 0) {
                QString &shared = m_single[size_t(slot)];
                if (shared.isNull())
                    shared = QString(QChar(c));
                return shared;
            }
        }
        return m_text.sliced(start, length);
    }

    // A CR without its LF, or an LF without its CR: a hand-edited file.
    static bool hasLoneLineBreak(QStringView text)
    {
        const QChar *c = text.data();
        const QChar *end = c + text.size();
        for (; c != end; ++c) {
            if (*c == u'\r') {
                if (c + 1 == end || c[1] != u'\n')
                    return true;
                ++c;
            } else if (*c == u'\n') {
                return true;
            }
        }
        return false;
    }

    void skipSeparator()
    {
        if (atEnd())
            return;
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (!atEnd() && m_text[m_pos] == u'\n')
                ++m_pos;
        } else if (m_text[m_pos] == u'\n') {
            ++m_pos;
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    std::array<QString, 0x80 + 0x60> m_single; // ASCII, then basic Cyrillic
};

char32_t codePointAt(const QString &text, qsizetype pos)
{
    const QChar c = text[pos];
    if (c.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[pos + 1]);
    return c.unicode();
}

bool encodeText(const QString &text, QByteArray *out, qsizetype *badPos)
{
    QByteArray bytes;
    *badPos = -1;
    if (!Windows1251::encode(text, &bytes, badPos))
        return false;
    *out += bytes;
    return true;
}

} // namespace

bool CrosswordFile::encode(const CrosswordDocument &document, QByteArray *bytes,
                           CrosswordFileError *error)
{
    // A cell value is written between quotes with nothing escaped, so a quote
    // inside it (only a hand-edited file can bring one) would be cut short on
    // reading. Refuse rather than save something that reads back different.
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        for (const QString *layer : {&document.letter(i), &document.number(i)}) {
            if (layer->contains(u'"')) {
                setError(error, CrosswordFileError::unencodable({}, U'"', i, 0, 0));
                return false;
            }
        }
    }

    // Build the whole text first and encode once; the positions of a bad
    // character are found afterwards from the pieces.
    QString text;
    text.reserve(CrosswordDocument::CellCount * 10 + document.clueText().size() + 2);
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        text += u'"';
        text += document.letter(i);
        text += QStringLiteral("\",\"");
        text += document.number(i);
        text += QStringLiteral("\"\r\n");
    }
    text += document.clueText();
    text += QStringLiteral("\r\n");

    QByteArray out;
    qsizetype bad = -1;
    if (encodeText(text, &out, &bad)) {
        // The reader refuses larger files; saving one would lose the crossword.
        if (out.size() > MaxFileSize) {
            setError(error, CrosswordFileError::tooLargeToSave({}, out.size()));
            return false;
        }
        if (looksLikeUtf8(out)) {
            setError(error, CrosswordFileError::misreadable({}));
            return false;
        }
        if (TextBytes::binaryAt(out) >= 0) {
            setError(error, CrosswordFileError::notTextToSave({}));
            return false;
        }
        *bytes = out;
        return true;
    }

    // Locate the offending character for the message.
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        for (const QString *layer : {&document.letter(i), &document.number(i)}) {
            QByteArray scratch;
            qsizetype pos = -1;
            if (!encodeText(*layer, &scratch, &pos)) {
                setError(error, CrosswordFileError::unencodable({}, codePointAt(*layer, pos), i,
                                                                0, 0));
                return false;
            }
        }
    }
    const QString &clue = document.clueText();
    QByteArray scratch;
    qsizetype pos = -1;
    encodeText(clue, &scratch, &pos);
    if (pos < 0)
        pos = 0; // not reachable: the cells and separators all encode
    const QString before = clue.left(pos);
    const int line = static_cast<int>(before.count(u'\n')) + 1;
    const int column = static_cast<int>(pos - (before.lastIndexOf(u'\n') + 1)) + 1;
    setError(error, CrosswordFileError::unencodable({}, codePointAt(clue, pos), -1, line, column));
    return false;
}

bool CrosswordFile::isText(QByteArrayView bytes, CrosswordFileError *error)
{
    if (TextBytes::startsAsUtf16(bytes))
        setError(error, CrosswordFileError::utf16({}));
    else if (TextBytes::binaryAt(bytes) >= 0)
        setError(error, CrosswordFileError::notText({}));
    else
        return true;
    return false;
}

bool CrosswordFile::decode(QByteArrayView bytes, CrosswordDocument *document,
                           CrosswordFileError *error)
{
    if (!isText(bytes, error))
        return false;
    const QString text = looksLikeUtf8(bytes) ? QStringDecoder(QStringDecoder::Utf8).decode(bytes)
                                               : Windows1251::decode(bytes);
    FieldReader reader(text);

    CrosswordDocument result;
    QString value;
    for (int field = 0; field < FieldCount; ++field) {
        const int cell = field / 2;
        if (field % 2 == 0)
            reader.skipEmptyLines();
        if (!reader.readField(&value)) {
            setError(error, CrosswordFileError::truncated({}, cell));
            return false;
        }
        if (field % 2 == 0)
            result.setLetter(cell, value);
        else
            result.setNumber(cell, value);
    }
    result.setClueText(reader.rest());
    *document = std::move(result);
    return true;
}

bool CrosswordFile::readBytes(const QString &path, QByteArray *result, CrosswordFileError *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        const QString reason = FileFailureReason::ofMissingPath(path);
        setError(error, reason.isEmpty() ? CrosswordFileError::notFound(path)
                                         : CrosswordFileError::unreadable(path, reason));
        return false;
    }
    // Folders, devices and pipes are refused before opening: a pipe would block.
    if (!info.isFile()) {
        setError(error, CrosswordFileError::notAFile(path));
        return false;
    }
    if (info.size() > MaxFileSize) {
        setError(error, CrosswordFileError::tooLarge(path, info.size()));
        return false;
    }
    // Opened without blocking and checked again, in case a pipe took the
    // file's place since it was examined.
    QByteArray bytes;
    int readError = 0;
    switch (FileBytes::read(path, MaxFileSize, &bytes, &readError)) {
    case FileBytes::Status::Read:
        break;
    case FileBytes::Status::NotAFile:
        setError(error, CrosswordFileError::notAFile(path));
        return false;
    case FileBytes::Status::Failed:
        setError(error,
                 CrosswordFileError::unreadable(path, FileFailureReason::fromErrno(readError)));
        return false;
    }
    const qsizetype got = bytes.size();
    if (got > MaxFileSize) {
        setError(error, CrosswordFileError::tooLarge(path, got));
        return false;
    }
    *result = std::move(bytes);
    return true;
}

bool CrosswordFile::read(const QString &path, CrosswordDocument *document,
                         CrosswordFileError *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return false;
    CrosswordFileError decodeError;
    if (!decode(bytes, document, &decodeError)) {
        setError(error, decodeError.withFileName(path));
        return false;
    }
    return true;
}

bool CrosswordFile::write(const QString &path, const CrosswordDocument &document,
                          CrosswordFileError *error)
{
    // Everything is encoded and checked in memory before the file is touched.
    QByteArray bytes;
    CrosswordFileError encodeError;
    if (!encode(document, &bytes, &encodeError)) {
        setError(error, encodeError.withFileName(path));
        return false;
    }
    const SafeFileWriter::Result result = SafeFileWriter::write(path, bytes);
    switch (result.outcome) {
    case SafeFileWriter::Outcome::Written:
        return true;
    case SafeFileWriter::Outcome::NothingChanged:
        setError(error, CrosswordFileError::cannotWrite(path, result.reason(), result.existed));
        return false;
    case SafeFileWriter::Outcome::PartlyWritten:
        setError(error, CrosswordFileError::partlyWritten(path, result.reason()));
        return false;
    }
    return false;
}
