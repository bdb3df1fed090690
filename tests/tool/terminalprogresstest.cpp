#include "crosswordfile.h"
#include "makecommand.h"
#include "pdfcommand.h"
#include "toolboards.h"
#include "tooldispatch.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

// Fault mended: "make --tries 10000" on 500 words ran 16 s, and pdf of a
// megabyte of clues 14 s, without a sign of life.
TEST(TerminalProgressTest, LongRunsShowProgressOnATerminalOnlyAndClearIt)
{
    // pdf draws with fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tool_tests";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CrosswordDocument crossword = cleanCrossword();
    crossword.setClueText(cleanClueText() + QStringLiteral("\r\nСлово за словом.").repeated(300));
    ASSERT_TRUE(CrosswordFile::write(dir.filePath("long.crs"), crossword, nullptr));
    ASSERT_TRUE(QFile::copy(QStringLiteral(WORD_LISTS_DIR "/words20.txt"), dir.filePath("w.txt")));

    const struct
    {
        QStringList arguments;
        QString label;
    } cases[] = {
        {{"make", dir.filePath("w.txt"), "-o", dir.filePath("made.crs"), "--tries", "300"},
         QStringLiteral("Составление кроссворда: ")},
        {{"pdf", dir.filePath("long.crs")}, QStringLiteral("Запись PDF: ")},
    };
    ToolDispatch dispatch;
    dispatch.add(std::make_unique<MakeCommand>());
    dispatch.add(std::make_unique<PdfCommand>());
    for (const auto &c : cases) {
        for (const bool terminal : {true, false}) {
            SCOPED_TRACE(c.arguments.first().toStdString() + (terminal ? " on a terminal" : ""));
            QString out;
            QString err;
            QTextStream outStream(&out);
            QTextStream errStream(&err);
            const int status = dispatch.run(QStringList{"kvarcella-tool"} + c.arguments,
                                            {outStream, errStream, terminal, {}});
            EXPECT_EQ(status, 0) << err.toStdString();
            if (!terminal) {
                EXPECT_TRUE(err.isEmpty()) << "a pipe or a log gets no progress lines";
                continue;
            }
            // Rewritten in place, up to the end, then blanked out so that the
            // report starts on a clean line.
            const QString last = u'\r' + c.label + QStringLiteral("100 %");
            EXPECT_TRUE(err.startsWith(u'\r' + c.label)) << err.toStdString();
            EXPECT_TRUE(err.contains(last)) << err.toStdString();
            EXPECT_TRUE(err.endsWith(last + u'\r' + QString(last.size() - 1, u' ') + u'\r'))
                << err.toStdString();
            EXPECT_FALSE(err.contains(u'\n'));
            EXPECT_TRUE(out.contains(QStringLiteral("Записан")) || out.contains("записан"));
        }
    }
}
