#pragma once

#include <QString>

// Why reading or writing a crossword file failed, with a message in Russian
// that a window can show to the user as it stands.
class CrosswordFileError
{
public:
    enum class Kind {
        None,
        NotFound,       // no such file
        NotAFile,       // a folder or a device, not a regular file
        Unreadable,     // exists but cannot be opened or read
        TooLarge,       // larger than any real crossword could be
        Truncated,      // ends before the 400th record is complete
        CannotWrite,    // creating, writing or replacing the file failed; it is as it was
        PartlyWritten,  // rewriting the file in place failed half-way
        TooLargeToSave, // the reader would refuse the file that saving would make
        Misreadable,    // the bytes saved would read back as UTF-8, changing the clues
        Unencodable,    // not Windows-1251, or a quote inside a cell value
        Utf16,          // written in UTF-16, which no reader takes
        NotText,        // binary data: more control characters than lines
        NotTextToSave,  // so many control characters that the file would read as NotText
    };

    CrosswordFileError() = default;

    static CrosswordFileError notFound(const QString &fileName);
    static CrosswordFileError notAFile(const QString &fileName);
    // reason: a short Russian phrase, as FileFailureReason gives.
    static CrosswordFileError unreadable(const QString &fileName, const QString &reason);
    static CrosswordFileError tooLarge(const QString &fileName, qint64 size);
    // record is the 0-based index of the cell record that ran out.
    static CrosswordFileError truncated(const QString &fileName, int record);
    // existed: a file stood at the path before, and it is unchanged.
    static CrosswordFileError cannotWrite(const QString &fileName, const QString &reason,
                                          bool existed);
    static CrosswordFileError partlyWritten(const QString &fileName, const QString &reason);
    // size: the bytes the crossword would take.
    static CrosswordFileError tooLargeToSave(const QString &fileName, qint64 size);
    static CrosswordFileError misreadable(const QString &fileName);
    static CrosswordFileError utf16(const QString &fileName);
    static CrosswordFileError notText(const QString &fileName);
    static CrosswordFileError notTextToSave(const QString &fileName);
    // In a cell (cell >= 0), or in the clue text at 1-based line and column (cell < 0).
    static CrosswordFileError unencodable(const QString &fileName, char32_t character, int cell,
                                          int line, int column);

    Kind kind() const { return m_kind; }
    bool isError() const { return m_kind != Kind::None; }
    const QString &fileName() const { return m_fileName; }
    int record() const { return m_record; }
    char32_t character() const { return m_character; }
    int cell() const { return m_cell; }
    int line() const { return m_line; }
    int column() const { return m_column; }

    // Copy with another file name; the in-memory codec does not know the path.
    CrosswordFileError withFileName(const QString &fileName) const;

    // Complete sentence(s) for a message box, naming the file and the reason.
    QString message() const;

private:
    static CrosswordFileError about(Kind kind, const QString &fileName);

    Kind m_kind = Kind::None;
    QString m_fileName;
    QString m_reason;
    qint64 m_size = 0;
    bool m_existed = false;
    int m_record = -1;
    char32_t m_character = 0;
    int m_cell = -1;
    int m_line = 0;
    int m_column = 0;
};
