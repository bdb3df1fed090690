#include "cluepane.h"

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

// Where each screen line of the pane's first paragraph starts.
QList<int> lineStarts(CluePane &pane)
{
    const QTextBlock block = pane.document()->firstBlock();
    QTextLayout *layout = block.layout();
    QList<int> starts;
    for (int i = 0; i < layout->lineCount(); ++i)
        starts << layout->lineAt(i).textStart();
    return starts;
}

} // namespace

// One unbroken line of a few hundred thousand characters used to freeze the
// window for seconds: word wrapping searched to the end of the "word" for
// every screen line.
TEST(CluePaneTest, OrdinaryCluesWrapAtWordsAndAnOverlongWordWrapsAnywhere)
{
    CluePane pane;
    pane.resize(393, 625);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));

    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("домашнее животное ");
    pane.setText(words);
    QCoreApplication::processEvents();
    const QList<int> wordStarts = lineStarts(pane);
    ASSERT_GT(wordStarts.size(), 2);
    for (int start : wordStarts.mid(1))
        EXPECT_EQ(words.at(start - 1), u' ') << "a screen line starts after a space, at " << start;

    // A space before an overlong word is no longer a reason to start a new line.
    const QString overlong = QStringLiteral("кот ") + QString(CluePane::LongestWord + 1, u'ж');
    pane.setText(overlong);
    QCoreApplication::processEvents();
    const QList<int> longStarts = lineStarts(pane);
    ASSERT_GT(longStarts.size(), 2);
    EXPECT_GT(longStarts.at(1), 4) << "the long word begins on the first line";
    EXPECT_EQ(pane.text(), overlong);

    // Ordinary text set afterwards wraps at words again.
    pane.setText(words);
    QCoreApplication::processEvents();
    EXPECT_EQ(lineStarts(pane), wordStarts);
}

TEST(CluePaneTest, LongLinesAndNoBreakSpacesComeBackExactly)
{
    CluePane pane;
    pane.resize(393, 625);
    pane.show();
    const QString text = QString(50000, u'ю') + QStringLiteral("\r\n\r\nкот\u00A0пёс\r\n") +
                         QString(20000, QChar(0xA0)) + QStringLiteral("\r\n") + QString(30000, u' ');
    pane.setText(text);
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.text(), text);

    // Typing into such a pane keeps the text exact too.
    QTextCursor cursor(pane.document());
    cursor.movePosition(QTextCursor::End);
    pane.setTextCursor(cursor);
    QTest::keyClicks(&pane, QStringLiteral("ab"));
    EXPECT_EQ(pane.text(), text + QStringLiteral("ab"));
}
