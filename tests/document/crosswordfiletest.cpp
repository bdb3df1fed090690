#include "boardtext.h"
#include "testfiles.h"
#include "crosswordfile.h"
#include "testplatform.h"
#include "windows1251.h"
#ifndef _WIN32
#include "ordinaryuser.h"
#endif

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray cp1251(const char *utf8)
{
    // Test texts are Cyrillic only; map "а".."я" (U+0430..U+044F) to 0xE0..0xFF
    // and capitals to 0xC0..0xDF, everything else must be ASCII.
    QByteArray out;
    for (QChar c : QString::fromUtf8(utf8)) {
        const char16_t u = c.unicode();
        if (u >= 0x0410 && u <= 0x044F)
            out += static_cast<char>(0xC0 + (u - 0x0410));
        else
            out += static_cast<char>(u);
    }
    return out;
}

QByteArray windows1251(const QString &text)
{
    QByteArray bytes;
    Windows1251::encode(text, &bytes);
    return bytes;
}

QByteArray emptyRecords(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "\"\",\"\"\r\n";
    return bytes;
}

QByteArray encoded(const CrosswordDocument &document)
{
    QByteArray bytes;
    CrosswordFileError error;
    EXPECT_TRUE(CrosswordFile::encode(document, &bytes, &error)) << error.message().toStdString();
    return bytes;
}

CrosswordDocument decoded(const QByteArray &bytes)
{
    CrosswordDocument document;
    CrosswordFileError error;
    EXPECT_TRUE(CrosswordFile::decode(bytes, &document, &error)) << error.message().toStdString();
    return document;
}

const QString TwoLineClues = QStringLiteral("По горизонтали:\r\n1. Домашнее животное.");

} // namespace

TEST(CrosswordFileFormatTest, EmptyCrosswordIsFourHundredEmptyRecordsAndOneLineBreak)
{
    const QByteArray bytes = encoded(CrosswordDocument());
    EXPECT_EQ(bytes.size(), 2802);
    EXPECT_EQ(bytes, emptyRecords(400) + "\r\n");
}

TEST(CrosswordFileFormatTest, WorkedExampleIsWrittenByteForByte)
{
    const CrosswordDocument document = boardFromRows({".кот"}, {{1, "1"}}, TwoLineClues);
    const QByteArray bytes = encoded(document);

    const QByteArray record1("\x22\xEA\x22\x2C\x22\x31\x22\x0D\x0A", 9);
    QByteArray expected = emptyRecords(1) + record1 + cp1251("\"о\",\"\"\r\n\"т\",\"\"\r\n") +
                          emptyRecords(396) + cp1251("По горизонтали:\r\n1. Домашнее животное.\r\n");
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.mid(7, 9), record1);
}

TEST(CrosswordFileFormatTest, EveryRecordReadsBackAsTheSameTwoStrings)
{
    const CrosswordDocument document =
        boardFromRows({"к.абвгдеёжзийклмнопр", "стуфхцчшщъыьэюя"}, {{0, "12"}, {1, "05"}, {5, "7"}});
    const CrosswordDocument back = decoded(encoded(document));
    EXPECT_EQ(back.letter(0), QStringLiteral("к"));
    EXPECT_EQ(back.number(0), QStringLiteral("12"));
    EXPECT_EQ(back.letter(1), QString());
    EXPECT_EQ(back.number(1), QStringLiteral("05")) << "a number keeps its leading zero";
    EXPECT_EQ(back, document);
}

// The format appends one CR LF after the clue text; reading used to keep it and
// add another blank line to the clues on every save and load.
TEST(CrosswordFileFormatTest, ClueTextComesBackUnchangedAndFilesStayByteIdentical)
{
    for (const QString &clue :
         {QString(), QStringLiteral("a\r\nb"), QStringLiteral("\r\n"),
          QStringLiteral("По вертикали:\r\n\r\n\r\n2. Кот.\r\n\r\n"), TwoLineClues}) {
        const CrosswordDocument document = boardFromRows({"да"}, {{0, "1"}}, clue);
        const QByteArray first = encoded(document);
        EXPECT_TRUE(first.endsWith(cp1251(clue.toUtf8().constData()) + "\r\n"));
        const CrosswordDocument back = decoded(first);
        EXPECT_EQ(back.clueText(), clue);
        EXPECT_EQ(encoded(back), first);
    }
}

TEST(CrosswordFileFormatTest, ExactlyFourHundredRecordsReadWithEmptyClues)
{
    const CrosswordDocument document = decoded(emptyRecords(400));
    EXPECT_EQ(document, CrosswordDocument());
}

TEST(CrosswordFileFormatTest, ShortFilesFailAtTheRecordThatRanOut)
{
    struct Case
    {
        QByteArray bytes;
        int record;
    };
    const Case cases[] = {
        {emptyRecords(399), 399},
        {emptyRecords(399) + "\"a\"", 399},
        {emptyRecords(399) + "\"a\",\"1", 399}, // the closing quote never comes
        {emptyRecords(10) + "\"\"", 10},
        {QByteArray(), 0},
    };
    for (const Case &c : cases) {
        CrosswordDocument document = boardFromRows({"кот"});
        const CrosswordDocument before = document;
        CrosswordFileError error;
        EXPECT_FALSE(CrosswordFile::decode(c.bytes, &document, &error));
        EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Truncated);
        EXPECT_EQ(error.record(), c.record);
        EXPECT_EQ(document, before) << "a failed read leaves the document alone";
    }
    CrosswordFileError error;
    CrosswordDocument document;
    CrosswordFile::decode(emptyRecords(399), &document, &error);
    EXPECT_TRUE(error.withFileName("x.crs").message().contains(QStringLiteral("записи 400 из 400")))
        << error.message().toStdString();
}

TEST(CrosswordFileFormatTest, HandEditedRecordsFollowPlainRules)
{
    // Unquoted values are literal text (leading zeros kept, trailing blanks
    // dropped); a quoted value ends at its second quote and the rest up to the
    // separator is ignored; blank lines between records are skipped; bare LF
    // and bare CR end lines too.
    QByteArray bytes = cp1251("к,05\r\n"
                              "  \"о\"junk,\"1\"\r\n"
                              "\r\n"
                              "   \r\n"
                              "т , 7 \n"
                              "\"a,b\",\"x\"\r"
                              "в\"л,\"\"\r\n");
    bytes += emptyRecords(395);
    bytes += cp1251("первая\nвторая\rтретья\r\n");
    const CrosswordDocument document = decoded(bytes);
    EXPECT_EQ(document.letter(0), QStringLiteral("к"));
    EXPECT_EQ(document.number(0), QStringLiteral("05"));
    EXPECT_EQ(document.letter(1), QStringLiteral("о"));
    EXPECT_EQ(document.number(1), QStringLiteral("1"));
    EXPECT_EQ(document.letter(2), QStringLiteral("т"));
    EXPECT_EQ(document.number(2), QStringLiteral("7"));
    EXPECT_EQ(document.letter(3), QStringLiteral("a,b"));
    EXPECT_EQ(document.number(3), QStringLiteral("x"));
    EXPECT_EQ(document.letter(4), QStringLiteral("в\"л"));
    EXPECT_EQ(document.number(4), QString());

    // Such a quote cannot be written back between quotes; saving used to
    // report success and the letter came back as "в".
    QByteArray resaved;
    CrosswordFileError error;
    EXPECT_FALSE(CrosswordFile::encode(document, &resaved, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Unencodable);
    EXPECT_EQ(error.cell(), 4);
    EXPECT_EQ(error.character(), U'"');
    const QString message = error.withFileName("x.crs").message();
    EXPECT_TRUE(message.contains(QStringLiteral("кавычку")));
    // Cells used to be counted from 0 but rows and columns from 1.
    EXPECT_TRUE(message.contains(QStringLiteral("в клетке 5 (строка 1, столбец 5)")))
        << message.toStdString();
    EXPECT_EQ(document.clueText(), QStringLiteral("первая\r\nвторая\r\nтретья"));
}

TEST(CrosswordFileFormatTest, AnyByteValueReadsWithoutHarm)
{
    QByteArray clue;
    for (int b = 0; b < 256; ++b)
        clue += static_cast<char>(b);
    const CrosswordDocument document = decoded(emptyRecords(400) + clue + "\x98\"\"");
    EXPECT_FALSE(document.clueText().isEmpty());
    EXPECT_TRUE(document.clueText().contains(QStringLiteral("я")));

    // Stray bytes inside records, 0x98 (unassigned in Windows-1251) among them.
    QByteArray odd = QByteArray("\"\x98\",\"\x00\"\r\n", 10) + emptyRecords(399);
    CrosswordDocument withOdd;
    CrosswordFileError error;
    ASSERT_TRUE(CrosswordFile::decode(odd, &withOdd, &error));
    EXPECT_EQ(withOdd.letter(0).size(), 1);
    EXPECT_EQ(withOdd.number(0), QString(QChar(0)));

    // As many control bytes as lines are a hand-edited file; one more is
    // binary data, and the writer will not make such a file either.
    const QByteArray controls = emptyRecords(400) + QByteArray(401, '\x01');
    EXPECT_EQ(decoded(controls).clueText(), QString(401, u'\x01'));
    EXPECT_FALSE(CrosswordFile::decode(controls + '\x01', &withOdd, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotText);
    CrosswordDocument pasted;
    pasted.setClueText(QString(500, u'\x07'));
    QByteArray bytes;
    EXPECT_FALSE(CrosswordFile::encode(pasted, &bytes, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotTextToSave);
}

TEST(CrosswordFileFormatTest, CharactersOutsideTheCodePageAreRefusedWithTheirPlace)
{
    CrosswordDocument document = boardFromRows({"кот"});
    document.setClueText(QStringLiteral("1. Кот\r\n2. Café\r\n"));
    QByteArray bytes("untouched");
    CrosswordFileError error;
    EXPECT_FALSE(CrosswordFile::encode(document, &bytes, &error));
    EXPECT_EQ(bytes, QByteArray("untouched"));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Unencodable);
    EXPECT_EQ(error.character(), U'é');
    EXPECT_EQ(error.cell(), -1);
    EXPECT_EQ(error.line(), 2);
    EXPECT_EQ(error.column(), 7);
    EXPECT_TRUE(error.message().contains(QStringLiteral("строка 2, позиция 7")));

    document.setClueText(QStringLiteral("ok"));
    document.setLetter(45, QStringLiteral("ё")); // ё is in the code page
    EXPECT_TRUE(CrosswordFile::encode(document, &bytes, &error));
    document.setNumber(45, QStringLiteral("\U0001F600"));
    EXPECT_FALSE(CrosswordFile::encode(document, &bytes, &error));
    EXPECT_EQ(error.cell(), 45);
    EXPECT_EQ(error.character(), U'\U0001F600');
    EXPECT_TRUE(error.message().contains(QStringLiteral("U+1F600")));
}

// Linux text editors save new files as UTF-8; every answer then came in as two
// characters that no key could match.
TEST(CrosswordFileFormatTest, Utf8FilesAreReadAsUtf8AndSavedAsWindows1251)
{
    const QString clue = QStringLiteral("«Ёлка» — 1. Кот №1");
    const QByteArray utf8 = QByteArray("\"к\",\"1\"\r\n\"ё\",\"\"\r\n") + emptyRecords(398) +
                            clue.toUtf8() + "\r\n";
    const CrosswordDocument document = decoded(utf8);
    EXPECT_EQ(document.letter(0), QStringLiteral("к"));
    EXPECT_EQ(document.number(0), QStringLiteral("1"));
    EXPECT_EQ(document.letter(1), QStringLiteral("ё"));
    EXPECT_EQ(document.clueText(), clue);
    EXPECT_EQ(decoded("\xEF\xBB\xBF" + utf8), document) << "a byte order mark is dropped";

    const QByteArray saved = encoded(document);
    EXPECT_TRUE(saved.startsWith("\"\xEA\",\"1\"\r\n\"\xB8\",")) << "saved in Windows-1251";
    EXPECT_EQ(decoded(saved), document);
}

TEST(CrosswordFileFormatTest, Windows1251FilesWithSignsThatUtf8UsesStayWindows1251)
{
    // ё, quotes, dashes and № are the bytes 0x80-0xBF that UTF-8 continues with.
    const QString clue = QStringLiteral("«Ёлка» — ель; всё – ёж, №1 «ТАСС»");
    const CrosswordDocument back = decoded(windows1251(QStringLiteral("\"ё\",\"\"\r\n")) +
                                           emptyRecords(399) + windows1251(clue) + "\r\n");
    EXPECT_EQ(back.letter(0), QStringLiteral("ё"));
    EXPECT_EQ(back.clueText(), clue);
    // Without a single letter in the grid as well.
    EXPECT_EQ(decoded(emptyRecords(400) + windows1251(clue)).clueText(), clue);
    // Sequences that only look like UTF-8: a surrogate, an overlong form, a
    // sequence cut off at the end of the file.
    for (const QByteArray &tail : {QByteArray("\xED\xA0\x80"), QByteArray("\xC1\xBF"),
                                   QByteArray("\xE0\x9F\xBF"), QByteArray("\xD0\x9A\xD0")}) {
        EXPECT_EQ(decoded(emptyRecords(400) + tail).clueText(), Windows1251::decode(tail))
            << tail.toHex().toStdString();
    }

    // The one kind of file that would come back as UTF-8 is refused, not saved
    // to change on the next opening: no letter in the grid and clues whose
    // Windows-1251 bytes happen to be valid UTF-8 ("С" followed by "»").
    CrosswordDocument misleading;
    misleading.setClueText(QStringLiteral("1. С»"));
    QByteArray bytes;
    CrosswordFileError error;
    EXPECT_FALSE(CrosswordFile::encode(misleading, &bytes, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Misreadable);
    misleading.setLetter(0, QStringLiteral("с"));
    EXPECT_EQ(decoded(encoded(misleading)), misleading);
}

// Qt has Windows-1251 only through ICU, which Qt for Windows lacks: there the
// codec gave nothing, every save failed and every file read as empty.
TEST(CrosswordFileFormatTest, TheCodePageReadsEveryByteBackAsQtsIcuCodecDoes)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all += char(byte);
    const QString text = Windows1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    QByteArray back;
    ASSERT_TRUE(Windows1251::encode(text, &back));
    EXPECT_EQ(back, all);
    qsizetype bad = -1;
    EXPECT_FALSE(Windows1251::encode(QStringLiteral("ок✓"), &back, &bad));
    EXPECT_EQ(bad, 2);
    if (!TestPlatform::Windows) { // ICU, the independent word
        QStringDecoder icu("windows-1251");
        EXPECT_EQ(icu.decode(all), text);
    }
}

class CrosswordFileOnDiskTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(CrosswordFileOnDiskTest, SaveLoadSaveGivesIdenticalFiles)
{
    const CrosswordDocument document =
        boardFromRows({".кот", ".о", ".т"}, {{1, "1"}, {21, "05"}}, TwoLineClues);
    CrosswordFileError error;
    ASSERT_TRUE(CrosswordFile::write(path("a.crs"), document, &error));
    CrosswordDocument loaded;
    ASSERT_TRUE(CrosswordFile::read(path("a.crs"), &loaded, &error));
    EXPECT_EQ(loaded, document);
    ASSERT_TRUE(CrosswordFile::write(path("b.crs"), loaded, &error));
    EXPECT_EQ(fileBytes(path("a.crs")), fileBytes(path("b.crs")));
}

TEST_F(CrosswordFileOnDiskTest, ReadingRefusesWhatIsNotACrosswordFile)
{
    CrosswordDocument document = boardFromRows({"кот"});
    const CrosswordDocument before = document;
    CrosswordFileError error;

    EXPECT_FALSE(CrosswordFile::read(path("missing.crs"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotFound);
    EXPECT_TRUE(error.message().contains(path("missing.crs")));

    EXPECT_FALSE(CrosswordFile::read(m_dir.path(), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotAFile);

#ifndef _WIN32 // a symbolic link and a device: POSIX's
    // A loop of symbolic links used to be "not found".
    ASSERT_EQ(::symlink("loop.crs", QFile::encodeName(path("loop.crs")).constData()), 0);
    EXPECT_FALSE(CrosswordFile::read(path("loop.crs"), &document, &error));
    EXPECT_TRUE(error.message().endsWith(QStringLiteral(": слишком много символических ссылок.")))
        << error.message().toStdString();

    EXPECT_FALSE(CrosswordFile::read(QStringLiteral("/dev/zero"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotAFile);
#endif

    putFileBytes(path("big.crs"), emptyRecords(400) + QByteArray(CrosswordFile::MaxFileSize, 'x'));
    EXPECT_FALSE(CrosswordFile::read(path("big.crs"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::TooLarge);

    putFileBytes(path("short.crs"), emptyRecords(399));
    EXPECT_FALSE(CrosswordFile::read(path("short.crs"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Truncated);
    EXPECT_EQ(error.fileName(), path("short.crs"));

    // A crossword saved as "Юникод" and a photo opened as grids of nonsense.
    putFileBytes(path("utf16.crs"),
             QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                 .encode(QString::fromLatin1(emptyRecords(400))));
    EXPECT_FALSE(CrosswordFile::read(path("utf16.crs"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Utf16);
    EXPECT_TRUE(error.message().contains(path("utf16.crs")));
    putFileBytes(path("photo.crs"), QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11).repeated(100));
    EXPECT_FALSE(CrosswordFile::read(path("photo.crs"), &document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::NotText);

    EXPECT_EQ(document, before);

#ifndef _WIN32 // other users: POSIX's
    // The reason is the program's own Russian phrase, not "Permission denied".
    putFileBytes(path("locked.crs"), emptyRecords(400));
    QFile::setPermissions(path("locked.crs"), QFileDevice::Permissions());
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0); // reachable
    const std::optional<QByteArray> message = OrdinaryUser::run([&] {
        CrosswordDocument ignored;
        CrosswordFileError childError;
        CrosswordFile::read(path("locked.crs"), &ignored, &childError);
        return childError.message().toUtf8();
    });
    ASSERT_TRUE(message) << "the child process failed";
    EXPECT_EQ(QString::fromUtf8(*message),
              QStringLiteral("Не удалось прочитать файл «%1»: доступ запрещён.").arg(path("locked.crs")));
#endif
}

// Qt 6.4's buffered QSaveFile committed a file whose flush had failed, so a
// full disk replaced the old crossword with a truncated one.
TEST_F(CrosswordFileOnDiskTest, AFailedWriteLeavesThePreviousFileIntact)
{
    const QByteArray old = encoded(boardFromRows({"старый"}));
    putFileBytes(path("old.crs"), old);
    CrosswordDocument bigger = boardFromRows({"новый"});
    bigger.setClueText(QString(4000, u'ю'));
    CrosswordFileError error;

#ifndef _WIN32 // a file-size limit: POSIX's
    // A small file-size limit (ulimit -f), not a full disk.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 3000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = CrosswordFile::write(path("old.crs"), bigger, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::CannotWrite);
    // A short write used to be reported as "Unknown error", then as a full disk.
    EXPECT_TRUE(error.message().contains(QStringLiteral(": превышен допустимый размер файла. "
                                                        "Прежнее содержимое файла не изменено.")))
        << error.message().toStdString();
    EXPECT_EQ(fileBytes(path("old.crs")), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"old.crs"})
        << "no temporary file is left behind";
#endif

    EXPECT_FALSE(CrosswordFile::write(path("no/such/folder/x.crs"), bigger, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::CannotWrite);
    EXPECT_TRUE(error.message().contains(path("no/such/folder/x.crs")));
    // There was no file to keep, so none is promised.
    EXPECT_TRUE(error.message().endsWith(QStringLiteral(": нет такого файла или папки.")))
        << error.message().toStdString();

    CrosswordDocument unencodable = bigger;
    unencodable.setClueText(QStringLiteral("€ и ✓"));
    EXPECT_FALSE(CrosswordFile::write(path("old.crs"), unencodable, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::Unencodable);
    EXPECT_EQ(error.character(), U'✓') << "€ is 0x88 in Windows-1251";
    EXPECT_EQ(fileBytes(path("old.crs")), old);
}

// The writer wrote any size while the reader refused more than 1 MiB, so a
// crossword with long clues was saved and then opened nowhere.
TEST_F(CrosswordFileOnDiskTest, TheLargestFileTheReaderTakesSavesAndOneByteMoreIsRefused)
{
    CrosswordDocument document = boardFromRows({"кот"}, {{0, "1"}});
    const qsizetype room = CrosswordFile::MaxFileSize - encoded(document).size();
    document.setClueText(QString(room, u'ю'));
    CrosswordFileError error;
    ASSERT_TRUE(CrosswordFile::write(path("largest.crs"), document, &error))
        << error.message().toStdString();
    EXPECT_EQ(QFileInfo(path("largest.crs")).size(), CrosswordFile::MaxFileSize);
    CrosswordDocument back;
    ASSERT_TRUE(CrosswordFile::read(path("largest.crs"), &back, &error));
    EXPECT_EQ(back, document);

    const QByteArray old = fileBytes(path("largest.crs"));
    document.setClueText(document.clueText() + QStringLiteral("\r\n"));
    EXPECT_FALSE(CrosswordFile::write(path("largest.crs"), document, &error));
    EXPECT_EQ(error.kind(), CrosswordFileError::Kind::TooLargeToSave);
    EXPECT_TRUE(error.message().contains(QStringLiteral("не меньше такого числа символов: 2.")))
        << error.message().toStdString();
    EXPECT_EQ(fileBytes(path("largest.crs")), old);
}

// A file name is data: "%2" in it must not take the place of a number.
TEST(CrosswordFileErrorTest, MessagesNameAFileHoldingPercentSignsAsItIs)
{
    const QString name = QStringLiteral("скидка 50%2 и %1.crs");
    for (const CrosswordFileError &error :
         {CrosswordFileError::tooLarge(name, 2000000), CrosswordFileError::truncated(name, 9),
          CrosswordFileError::tooLargeToSave(name, 1048577)})
        EXPECT_TRUE(error.message().contains(QStringLiteral("«") + name + QStringLiteral("»")))
            << error.message().toStdString();
}
