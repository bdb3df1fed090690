#include "crosswordfile.h"
#include "strictcrosswordreader.h"
#include "toolboards.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray encoded(const CrosswordDocument &document)
{
    QByteArray bytes;
    CrosswordFileError error;
    EXPECT_TRUE(CrosswordFile::encode(document, &bytes, &error)) << error.message().toStdString();
    return bytes;
}

// The clean crossword's file with its line number (1-based) replaced.
QByteArray withLine(int number, const QByteArray &line)
{
    QList<QByteArray> lines = encoded(cleanCrossword()).split('\n');
    lines[number - 1] = line;
    return lines.join('\n');
}

} // namespace

// Fault mended: the tool read almost any file with 800 separators as a
// crossword (a 1 MB random file printed 306 pages, a missing record made the
// clue heading cell 400, a UTF-16 crossword printed as noise).
TEST(StrictCrosswordReaderTest, RefusesWhatIsNoCrosswordNamingTheFirstBadLine)
{
    const QByteArray good = encoded(cleanCrossword());
    QByteArray random(CrosswordFile::MaxFileSize, Qt::Uninitialized);
    QRandomGenerator generator(15);
    for (char &byte : random)
        byte = char(generator.bounded(256));
    QByteArray missingRecord = good;
    missingRecord.remove(0, good.indexOf('\n') + 1);
    const QString text = QStringLiteral("\"р\",\"1\"\r\n").repeated(400);

    const struct
    {
        const char *name;
        QByteArray bytes;
        QString message; // empty: read as a crossword
    } cases[] = {
        {"as the program writes it", good, {}},
        {"LF line ends", QByteArray(good).replace("\r\n", "\n"), {}},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text.toUtf8(), {}},
        // Found by fuzzing: the windows read such a file as Windows-1251, the
        // mark as letters of the first cell.
        {"a UTF-8 mark before bytes that are no UTF-8", "\xEF\xBB\xBF" + good,
         "строка 1 («п»ї\"\",\"\"») — запись клетки должна начинаться с кавычки"},
        {"UTF-16 LE", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                          .encode(text),
         "записан в кодировке UTF-16"},
        {"UTF-16 BE", QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom)
                          .encode(text),
         "записан в кодировке UTF-16"},
        {"1 MiB of random bytes", random, "это не текст, а, например, рисунок"},
        {"a record missing", missingRecord,
         "строка 400 («По горизонтали:») — запись клетки должна начинаться с кавычки"},
        {"an empty line between records", withLine(3, "\r"), "строка 3 — пустая строка"},
        {"three fields", withLine(2, "\"\",\"\",\"\"\r"), "строка 2 («\"\",\"\",\"\"») — в записи "
                                                          "больше двух полей"},
        {"text after the fields", withLine(2, "\"\",\"\" \r"), "после второго поля лишние"},
        {"one field", withLine(5, "\"\"\r"), "в записи одно поле"},
        {"an unquoted first field", withLine(7, "р,1\r"), "должна начинаться с кавычки"},
        {"an unquoted second field", withLine(7, "\"р\",1\r"), "второе поле не в кавычках"},
        {"no comma", withLine(7, "\"р\"\"1\"\r"), "после первого поля нет запятой"},
        {"an open first field", withLine(7, "\"р,1\r"), "у первого поля нет закрывающей кавычки"},
        {"control characters shown as codes", withLine(9, "\x1B[2J\r"),
         "строка 9 («U+001B[2J») — запись"},
        {"ends after five records", QByteArray("\"\",\"\"\r\n").repeated(5),
         "повреждён или не дописан: он кончается на строке 5,"},
        {"empty", {}, "пуст"},
        {"larger than a crossword", QByteArray(CrosswordFile::MaxFileSize + 1, '"'),
         "слишком велик"},
    };

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("x.crs"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();

        CrosswordDocument document;
        QString message;
        const bool read = StrictCrosswordReader::read(path, &document, &message);
        EXPECT_EQ(read, c.message.isEmpty()) << message.toStdString();
        EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_TRUE(read || message.contains(path)) << message.toStdString();
    }
}
