#include "makecommand.h"
#include "testfiles.h"
#include "checkcommand.h"
#include "crosswordfile.h"
#include "tooldispatch.h"
#include "windows1251.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

struct ToolRun
{
    int status = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &arguments)
{
    ToolDispatch dispatch;
    dispatch.add(std::make_unique<MakeCommand>());
    dispatch.add(std::make_unique<CheckCommand>());
    ToolRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status =
        dispatch.run(QStringList{QStringLiteral("kvarcella-tool")} + arguments, {out, err});
    out.flush();
    err.flush();
    return run;
}

const QString School = QStringLiteral("# Школа\n"
                                      "шко\u0301ла - Там у\u0301чатся.\n"
                                      "\n"
                                      "ёлка - Зимой и летом одним цветом.\n"
                                      "класс - Комната для уроков.\n"
                                      "урок: Сорок пять минут.\n");

class MakeCommandTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(MakeCommandTest, WritesACrosswordThatCheckFindsClean)
{
    putFileBytes(path(QStringLiteral("школа.txt")), School.toUtf8());
    const ToolRun made = runTool({QStringLiteral("make"), path(QStringLiteral("школа.txt")),
                                  QStringLiteral("-o"), path(QStringLiteral("школа.crs"))});
    EXPECT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_TRUE(made.err.isEmpty());
    EXPECT_TRUE(made.out.contains(QStringLiteral("Размещено слов: 4 из 4")));
    EXPECT_TRUE(made.out.contains(QStringLiteral("Буква «ё» заменена на «е»")));
    EXPECT_TRUE(made.out.contains(QStringLiteral("«ёлка» → «елка» (строка 4)")));
    EXPECT_TRUE(made.out.contains(QStringLiteral("Знаки ударения убраны из слов и вопросов, в "
                                                 "файл кроссворда их не записать: «шко\u0301ла» "
                                                 "(строка 2).")))
        << made.out.toStdString();

    CrosswordDocument document;
    CrosswordFileError error;
    ASSERT_TRUE(CrosswordFile::read(path(QStringLiteral("школа.crs")), &document, &error));
    EXPECT_TRUE(document.clueText().contains(QStringLiteral(". Зимой и летом одним цветом.")));
    EXPECT_TRUE(document.clueText().contains(QStringLiteral(". Там учатся.")));

    const ToolRun checked = runTool({QStringLiteral("check"), path(QStringLiteral("школа.crs"))});
    EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
    EXPECT_TRUE(checked.out.contains(QStringLiteral("Ошибок не найдено.")));
}

TEST_F(MakeCommandTest, SameListAndSeedGiveTheSameFileInEitherEncoding)
{
    const QByteArray utf8 = fileBytes(QStringLiteral(WORD_LISTS_DIR "/words20.txt"));
    ASSERT_FALSE(utf8.isEmpty());
    QByteArray windows;
    Windows1251::encode(QString::fromUtf8(utf8), &windows);
    putFileBytes(path(QStringLiteral("utf8.txt")), utf8);
    putFileBytes(path(QStringLiteral("cp1251.txt")), windows);

    const auto make = [&](const QString &list, const QString &out, const QString &seed) {
        return runTool({QStringLiteral("make"), path(list), QStringLiteral("-o"), path(out),
                        QStringLiteral("--seed"), seed, QStringLiteral("--tries"),
                        QStringLiteral("20")});
    };
    EXPECT_EQ(make(QStringLiteral("utf8.txt"), QStringLiteral("a.crs"), QStringLiteral("7")).status,
              0);
    EXPECT_EQ(
        make(QStringLiteral("cp1251.txt"), QStringLiteral("b.crs"), QStringLiteral("7")).status, 0);
    EXPECT_EQ(make(QStringLiteral("utf8.txt"), QStringLiteral("c.crs"), QStringLiteral("8")).status,
              0);
    const QByteArray a = fileBytes(path(QStringLiteral("a.crs")));
    EXPECT_FALSE(a.isEmpty());
    EXPECT_EQ(fileBytes(path(QStringLiteral("b.crs"))), a);
    EXPECT_NE(fileBytes(path(QStringLiteral("c.crs"))), a);
}

TEST_F(MakeCommandTest, ReportsLeftOutLinesAndUnplacedWordsButWritesTheRest)
{
    putFileBytes(path(QStringLiteral("list.txt")),
              QStringLiteral("кот - Мурлычет.\nжар-птица - Сказочная.\nток - Течёт.\nщи - Суп.\n")
                  .toUtf8());
    const ToolRun run =
        runTool({QStringLiteral("make"), path(QStringLiteral("list.txt")), QStringLiteral("-o"),
                 path(QStringLiteral("out.crs")), QStringLiteral("--tries"), QStringLiteral("1")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Строка 2: в слове «жар-птица» есть «-»")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Не размещены:")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("щи (строка списка 4): нет ни одной общей буквы")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Размещено слов: 2 из 3")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("out.crs"))));
}

TEST_F(MakeCommandTest, ListWithoutUsableWordsWritesNothing)
{
    putFileBytes(path(QStringLiteral("list.txt")), QByteArray("# only a comment\ncat - English\n"));
    const ToolRun run = runTool({QStringLiteral("make"), path(QStringLiteral("list.txt")),
                                 QStringLiteral("-o"), path(QStringLiteral("out.crs"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Файл не записан.")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.crs"))));
}

TEST_F(MakeCommandTest, RefusesBadCommandLinesAndFilesWithStatusTwo)
{
    const QString list = path(QStringLiteral("list.txt"));
    const QByteArray words = School.toUtf8();
    putFileBytes(list, words);
    const QString out = path(QStringLiteral("out.crs"));
    const QString make = QStringLiteral("make");
    const QString o = QStringLiteral("-o");

    const struct
    {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{make, path(QStringLiteral("нет.txt")), o, out}, QStringLiteral("не найден")},
        {{make, list}, QStringLiteral("-o ФАЙЛ.crs")},
        {{make, list, o, out, QStringLiteral("--tries"), QStringLiteral("0")},
         QStringLiteral("«--tries»")},
        {{make, list, o, out, QStringLiteral("--tries"), QStringLiteral("много")},
         QStringLiteral("«--tries»")},
        {{make, list, o, out, QStringLiteral("--seed"), QStringLiteral("-1")},
         QStringLiteral("«--seed»")},
        {{make, list, o, path(QStringLiteral("нет/out.crs"))},
         QStringLiteral("Не удалось сохранить")},
        // The crossword would replace the teacher's list.
        {{make, list, o, list}, QStringLiteral("это и есть список слов")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    EXPECT_EQ(fileBytes(list), words);
    EXPECT_FALSE(QFile::exists(out));
}
