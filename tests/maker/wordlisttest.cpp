#include "wordlist.h"
#include "windows1251.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

WordList parseText(const QString &text)
{
    return WordList::parse(text.toUtf8());
}

QStringList answersOf(const WordList &list)
{
    QStringList answers;
    for (const WordList::Entry &entry : list.entries())
        answers.append(entry.answer);
    return answers;
}

} // namespace

TEST(WordListTest, TakesEachSeparatorAndSplitsAtTheFirstOne)
{
    const WordList list = parseText(QStringLiteral("кот - Мурлычет: на печи\n"
                                                   "пёс — Лает - громко\n"
                                                   "сом:Усатая рыба\n"
                                                   "ёж\tКолючий\n"
                                                   "  лиса   -   Рыжая  \n"));
    ASSERT_TRUE(list.problems().isEmpty());
    ASSERT_EQ(list.entries().size(), 5);
    EXPECT_EQ(answersOf(list),
              QStringList({QStringLiteral("кот"), QStringLiteral("пес"), QStringLiteral("сом"),
                           QStringLiteral("еж"), QStringLiteral("лиса")}));
    EXPECT_EQ(list.entries()[0].clue, QStringLiteral("Мурлычет: на печи"));
    EXPECT_EQ(list.entries()[1].clue, QStringLiteral("Лает - громко"));
    EXPECT_EQ(list.entries()[2].clue, QStringLiteral("Усатая рыба"));
    EXPECT_EQ(list.entries()[4].clue, QStringLiteral("Рыжая"));
    EXPECT_EQ(list.entries()[4].line, 5);
}

TEST(WordListTest, LowerCasesAnswersAndWritesYoAsYe)
{
    const WordList list = parseText(QStringLiteral("ЁЛКА - Зимой и летом одним цветом.\n"
                                                   "Берёза - Белая кора.\n"
                                                   "Кот - Мурлычет.\n"));
    ASSERT_EQ(list.entries().size(), 3);
    EXPECT_EQ(list.entries()[0].answer, QStringLiteral("елка"));
    EXPECT_TRUE(list.entries()[0].yoReplaced);
    EXPECT_EQ(list.entries()[1].answer, QStringLiteral("береза"));
    EXPECT_TRUE(list.entries()[1].yoReplaced);
    EXPECT_EQ(list.entries()[2].answer, QStringLiteral("кот"));
    EXPECT_FALSE(list.entries()[2].yoReplaced);
    // The clue keeps its "ё": Windows-1251 holds it.
    EXPECT_EQ(list.entries()[1].clue, QStringLiteral("Белая кора."));
}

TEST(WordListTest, SkipsBlankAndCommentLinesButCountsThemWhateverTheLineEnds)
{
    const WordList list = parseText(
        QStringLiteral("# Школа\r\n\r\n   \r\n  # ещё\r\nмел - Им пишут.\rдом - Живут.\n"));
    ASSERT_EQ(list.entries().size(), 2);
    EXPECT_EQ(list.entries()[0].line, 5);
    EXPECT_EQ(list.entries()[0].clue, QStringLiteral("Им пишут."));
    // A lone CR ends a line too; left in the clue it would split the clue text.
    EXPECT_EQ(list.entries()[1].line, 6);
    EXPECT_EQ(list.entries()[1].clue, QStringLiteral("Живут."));
    EXPECT_TRUE(list.problems().isEmpty());
}

TEST(WordListTest, RejectsUnusableLinesWithTheirNumbersAndKeepsTheRest)
{
    const QString longest = QString(20, u'а');
    const WordList list = parseText(QStringLiteral("жар-птица - Сказочная птица.\n"     // 1
                                                   "белый медведь - Живёт на севере.\n" // 2
                                                   "cat - Кот по-английски.\n"          // 3
                                                   "я - Последняя буква.\n"             // 4
                                                   "%1б - Слишком длинное.\n"           // 5
                                                   "%1 - Ровно двадцать букв.\n"        // 6
                                                   "кот без разделителя\n"              // 7
                                                   " - Вопрос без слова.\n"             // 8
                                                   "пёс - \n"                           // 9
                                                   "сом - Рыба 🐟\n"                     // 10
                                                   "Кот - Ещё раз.\n"                   // 11
                                                   "ёж - Колючий.\n"                    // 12
                                                   "еж - Снова он.\n"                   // 13
                                                   "кoт - С латинской o.\n"             // 14
                                                   "ПOЛ - С латинской O.\n"             // 15
                                                   "за\u0301мок - Кре\u0301пость.\n"    // 16
                                                   "\u045Dва - Де\u0301рево.\n"         // 17
                                                   "сок - Café.\n"                      // 18
                                                   "е\u0308ж - Ещё раз.\n")             // 19
                                        .arg(longest));
    // A rejected line does not count for repeats: "Кот" on line 11 is the first "кот".
    ASSERT_EQ(answersOf(list), QStringList({longest, QStringLiteral("кот"), QStringLiteral("еж"),
                                            QStringLiteral("замок"), QStringLiteral("ива")}));
    // Stress marks, apart or combined with the letter, are left out; a line used to be
    // refused for one.
    EXPECT_EQ(list.entries()[3].clue, QStringLiteral("Крепость."));
    EXPECT_TRUE(list.entries()[3].stressDropped && list.entries()[4].stressDropped);
    EXPECT_FALSE(list.entries()[1].stressDropped);

    QList<int> lines;
    for (const WordList::Problem &problem : list.problems()) {
        lines.append(problem.line);
        EXPECT_TRUE(problem.message.startsWith(QStringLiteral("Строка %1: ").arg(problem.line)))
            << problem.message.toStdString();
    }
    EXPECT_EQ(lines, QList<int>({1, 2, 3, 4, 5, 7, 8, 9, 10, 13, 14, 15, 18, 19}));
    const auto message = [&](int line) {
        for (const WordList::Problem &problem : list.problems()) {
            if (problem.line == line)
                return problem.message;
        }
        return QString();
    };
    EXPECT_TRUE(message(1).contains(QStringLiteral("«-»")));
    EXPECT_TRUE(message(2).contains(QStringLiteral("пробел")));
    // A look-alike is named, as written: a quoted "o" looked Russian.
    EXPECT_TRUE(message(3).contains(QStringLiteral("есть латинская буква c (U+0063), а")));
    EXPECT_TRUE(message(14).contains(QStringLiteral("«кoт» есть латинская буква o (U+006F)")));
    EXPECT_TRUE(message(15).contains(QStringLiteral("латинская буква O (U+004F)")));
    EXPECT_TRUE(message(18).contains(QStringLiteral("латинская буква é (U+00E9) — такого")));
    // "ё" written apart from its two dots is one letter as well.
    EXPECT_EQ(message(19), QStringLiteral("Строка 19: слово «е\u0308ж» уже есть в строке 12."));
    EXPECT_TRUE(message(5).contains(QStringLiteral("длиннее 20 букв")));
    // A character outside the basic plane is named whole, not as half a pair.
    EXPECT_TRUE(message(10).contains(QStringLiteral("«🐟»")));
    EXPECT_TRUE(message(10).contains(QStringLiteral("Windows-1251")));
    EXPECT_EQ(message(13), QStringLiteral("Строка 13: слово «еж» уже есть в строке 12."));
}

TEST(WordListTest, DetectsTheEncoding)
{
    const QString text = QStringLiteral("берёза - Дерево с белой корой.\nдуб - Даёт жёлуди.\n");
    QByteArray cp1251Bytes;
    Windows1251::encode(text, &cp1251Bytes);
    const WordList fromCp1251 = WordList::parse(cp1251Bytes);
    const WordList fromUtf8 = WordList::parse(text.toUtf8());
    const WordList withBom = WordList::parse(QByteArray("\xEF\xBB\xBF") + text.toUtf8());

    EXPECT_EQ(fromCp1251.encoding(), WordList::Encoding::Windows1251);
    EXPECT_EQ(fromUtf8.encoding(), WordList::Encoding::Utf8);
    EXPECT_EQ(withBom.encoding(), WordList::Encoding::Utf8);
    for (const WordList *list : {&fromCp1251, &fromUtf8, &withBom}) {
        ASSERT_EQ(list->entries().size(), 2);
        EXPECT_TRUE(list->problems().isEmpty());
        EXPECT_EQ(list->entries()[0].answer, QStringLiteral("береза"));
        EXPECT_EQ(list->entries()[1].clue, QStringLiteral("Даёт жёлуди."));
    }
}

// Faults mended: a UTF-16 list was read as nonsense, one stray byte turned
// every word of a UTF-8 list into mojibake, a binary file was taken for a
// list, and control characters went into the clues.
TEST(WordListTest, ReadsEveryEncodingAndReportsHostileBytesByLineAndByte)
{
    const QString text = QStringLiteral("кот - Мурлычет.\nпёс - Лает.\nток - Течёт.\n");
    QByteArray windows;
    Windows1251::encode(text, &windows);
    const QByteArray utf8 = text.toUtf8();
    QByteArray random(4096, Qt::Uninitialized);
    QRandomGenerator generator(15);
    for (char &byte : random)
        byte = char(generator.bounded(256));
    const QStringList all = {QStringLiteral("кот"), QStringLiteral("пес"), QStringLiteral("ток")};
    const QStringList firstAndLast = {QStringLiteral("кот"), QStringLiteral("ток")};
    using Encoding = WordList::Encoding;

    const struct
    {
        const char *name;
        QByteArray bytes;
        Encoding encoding;
        QStringList answers;
        QString problem; // of line 2, when there is one
        QString refusal;
        // From the file as text to edit: a line is decoded in its own encoding.
        QStringList textAnswers = answers;
    } cases[] = {
        {"UTF-16 LE", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                          .encode(text),
         Encoding::Utf16LittleEndian, all, {}, {}},
        {"UTF-16 BE", QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom)
                          .encode(text),
         Encoding::Utf16BigEndian, all, {}, {}},
        {"a stray byte in UTF-8", QByteArray(utf8).insert(utf8.indexOf('\n') + 3, '\xFF'),
         Encoding::Utf8, firstAndLast,
         "Строка 2: байт номер 3 (0xFF) — не UTF-8, а остальной список записан в UTF-8.", {}},
        {"a UTF-8 line in Windows-1251",
         windows.left(windows.indexOf('\n') + 1) + QStringLiteral("пёс - Лает.\n").toUtf8() +
             windows.mid(windows.lastIndexOf('\n', windows.size() - 2) + 1),
         Encoding::Windows1251, firstAndLast, "Строка 2: строка записана в UTF-8", {}, all},
        {"Windows-1251 with CR LF", cp1251.encode(QString(text).replace(u'\n', "\r\n")),
         Encoding::Windows1251, all, {}, {}},
        {"control characters in clues",
         QStringLiteral("кот - Мур\tлычет.\nпёс - Ла\u001B[2Jет.\nток - Те\u0007чёт.\nлес - \u007F\n"
                        "сон - \u0000\n")
             .toUtf8(),
         Encoding::Utf8, {QStringLiteral("кот")},
         "Строка 2: в вопросе к слову «пёс» есть управляющий символ U+001B (знак номер 3 "
         "вопроса)",
         {}},
        {"random bytes", random, Encoding::Utf8, {}, {}, "управляющий символ, и таких в файле "
                                                         "больше, чем строк"},
        {"a byte Windows-1251 lacks", QByteArray(windows).insert(windows.indexOf('\n') + 5, '\x98'),
         Encoding::Utf8, {}, {}, "строка 2, байт номер 5 (0x98) — такого байта нет"},
        {"no letter in any encoding", "\x85\x85 - \x97\x97\n", Encoding::Utf8, {}, {},
         "нет ни одной буквы"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("list.txt"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.bytes);
        out.close();
        QString textToEdit;
        QString error;
        EXPECT_EQ(WordList::readText(file, &textToEdit, &error), c.refusal.isEmpty());
        EXPECT_TRUE(error.contains(c.refusal)) << error.toStdString();
        EXPECT_FALSE(textToEdit.contains(u'\r'));
        EXPECT_EQ(answersOf(WordList::fromText(textToEdit)),
                  c.refusal.isEmpty() ? c.textAnswers : QStringList());

        const WordList list = WordList::parse(c.bytes);
        EXPECT_TRUE(list.refusal().contains(c.refusal)) << list.refusal().toStdString();
        EXPECT_EQ(list.refusal().isEmpty(), c.refusal.isEmpty()) << list.refusal().toStdString();
        EXPECT_EQ(answersOf(list), c.answers);
        if (!c.refusal.isEmpty())
            continue;
        EXPECT_EQ(list.encoding(), c.encoding);
        QString second;
        for (const WordList::Problem &problem : list.problems())
            second += problem.line == 2 ? problem.message : QString();
        EXPECT_TRUE(second.startsWith(c.problem)) << second.toStdString();
        EXPECT_EQ(second.isEmpty(), c.problem.isEmpty()) << second.toStdString();
    }
}

TEST(WordListTest, StopsTakingWordsAtTheLimitAndSaysSoOnce)
{
    // Distinct answers of two letters: "аа", "аб", ...
    QString text;
    int made = 0;
    for (char16_t a = u'а'; a <= u'я' && made < WordList::MaxEntries + 5; ++a) {
        for (char16_t b = u'а'; b <= u'я' && made < WordList::MaxEntries + 5; ++b, ++made)
            text += QString(QChar(a)) + QChar(b) + QStringLiteral(" - вопрос\n");
    }
    const WordList list = parseText(text);
    EXPECT_EQ(list.entries().size(), WordList::MaxEntries);
    ASSERT_EQ(list.problems().size(), 1);
    EXPECT_EQ(list.problems()[0].line, WordList::MaxEntries + 1);
}

TEST(WordListTest, ReadReportsFilesThatCannotBeRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WordList list;
    QString error;

    EXPECT_FALSE(WordList::read(dir.filePath(QStringLiteral("нет.txt")), &list, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("не найден")));

    EXPECT_FALSE(WordList::read(dir.path(), &list, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("папка")));

#ifndef Q_OS_WIN // QFile::link makes a shortcut there, no symbolic link
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("loop.txt")), dir.filePath("loop.txt")));
    EXPECT_FALSE(WordList::read(dir.filePath(QStringLiteral("loop.txt")), &list, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral(": слишком много символических ссылок.")))
        << error.toStdString();
#endif

    QFile big(dir.filePath(QStringLiteral("big.txt")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(WordList::MaxFileSize + 1, '#'));
    big.close();
    EXPECT_FALSE(WordList::read(big.fileName(), &list, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("слишком велик")));

    QFile binary(dir.filePath(QStringLiteral("binary.txt")));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + QByteArray(64, '\0'));
    binary.close();
    EXPECT_FALSE(WordList::read(binary.fileName(), &list, &error));
    EXPECT_EQ(error, QStringLiteral("Файл «%1» — не список слов: строка 2, байт номер 1 (0x1A) — "
                                    "управляющий символ, и таких в файле больше, чем строк: это "
                                    "не текст. Список должен быть текстом в кодировке UTF-8, "
                                    "UTF-16 или Windows-1251.")
                         .arg(binary.fileName()))
        << error.toStdString();

    QFile good(dir.filePath(QStringLiteral("good.txt")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write(QStringLiteral("кот - Мурлычет.").toUtf8());
    good.close();
    EXPECT_TRUE(WordList::read(good.fileName(), &list, &error));
    EXPECT_EQ(list.entries().size(), 1);
}
