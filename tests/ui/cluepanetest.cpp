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

TEST(CluePaneTest, LongLinesNoBreakSpacesAndSeparatorsComeBackExactly)
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

    // Separators a UTF-8 file may hold show as line breaks and come back as
    // given; else the solving window would find its clues changed at every click.
    const QString separators = QStringLiteral("кот\u2028пёс\u2029ёж\r\nлось");
    pane.setText(separators);
    EXPECT_EQ(pane.text(), separators);
}

namespace {

QImage shown(CluePane &pane)
{
    QCoreApplication::processEvents();
    return pane.viewport()->grab().toImage();
}

} // namespace

// A text of thousands of lines is held as fewer paragraphs; what the pane
// shows, and the text that comes back, must not tell.
TEST(CluePaneTest, ATextOfVeryManyLinesLooksAndReadsAsOneParagraphPerLine)
{
    QStringList lines;
    for (int i = 0; lines.size() <= CluePane::ManyLines + 1; ++i) {
        lines << QStringLiteral("%1. Домашнее животное, которое ловит мышей и спит на печи.").arg(i)
              << QString() << QStringLiteral("кот");
    }
    const QString many = lines.join(QStringLiteral("\r\n"));
    const QString few = lines.mid(0, 60).join(QStringLiteral("\r\n"));

    CluePane manyPane;
    CluePane fewPane;
    for (CluePane *pane : {&manyPane, &fewPane}) {
        pane->resize(393, 625);
        pane->show();
    }
    manyPane.setText(many);
    fewPane.setText(few);
    ASSERT_LT(manyPane.document()->blockCount(), lines.size()) << "lines are joined";
    EXPECT_EQ(shown(manyPane), shown(fewPane));
    for (CluePane *pane : {&manyPane, &fewPane})
        pane->setTextAlignment(Qt::AlignHCenter);
    EXPECT_EQ(shown(manyPane), shown(fewPane));

    EXPECT_EQ(manyPane.text(), many);
    // Lone CR and LF come back as CR LF, as they do from a short text.
    QString mixed = many;
    mixed.replace(mixed.indexOf(QStringLiteral("\r\n")), 2, u'\n');
    mixed.replace(mixed.lastIndexOf(QStringLiteral("\r\n")), 2, u'\r');
    manyPane.setText(mixed);
    EXPECT_EQ(manyPane.text(), many);

    // A line break typed inside a joined paragraph is one more line break.
    for (CluePane *pane : {&manyPane, &fewPane}) {
        QTextCursor cursor(pane->document());
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 4);
        cursor.movePosition(QTextCursor::EndOfLine);
        pane->setTextCursor(cursor);
        QTest::keyClick(pane, Qt::Key_Return);
    }
    EXPECT_EQ(manyPane.text().size(), many.size() + 2);
    EXPECT_TRUE(manyPane.text().startsWith(fewPane.text()));
    EXPECT_EQ(shown(manyPane), shown(fewPane));
}

// The pane is filled while its window is still hidden; the text must wrap
// for the pane's real width once shown, and loading is not an edit to undo.
TEST(CluePaneTest, TextSetBeforeShowingWrapsForThePaneAndCannotBeUndone)
{
    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("домашнее животное ");

    CluePane shownFirst;
    shownFirst.resize(393, 625);
    shownFirst.show();
    shownFirst.setText(words);
    CluePane filledFirst;
    filledFirst.resize(393, 625);
    filledFirst.setText(words);
    filledFirst.show();
    EXPECT_EQ(shown(filledFirst), shown(shownFirst));
    EXPECT_EQ(lineStarts(filledFirst), lineStarts(shownFirst));

    QTest::keyClicks(&filledFirst, QStringLiteral("ab"));
    filledFirst.undo();
    filledFirst.undo();
    EXPECT_EQ(filledFirst.text(), words);
    EXPECT_FALSE(filledFirst.document()->isUndoAvailable());
}

// Left-to-right text is laid out without guessing its direction; a
// right-to-left line must still read from the right: its first letter, where
// the cursor stands at the start, is at the right end of the line.
TEST(CluePaneTest, RightToLeftLinesStillReadFromTheRight)
{
    CluePane pane;
    pane.resize(393, 625);
    pane.show();
    // How far the start of the text lies from the right end of its line.
    const auto startFromRight = [&pane] {
        QCoreApplication::processEvents();
        const QTextLine line = pane.document()->firstBlock().layout()->lineAt(0);
        return line.naturalTextRect().right() - line.cursorToX(0);
    };
    pane.setText(QStringLiteral("кот abc"));
    EXPECT_GT(startFromRight(), 20);
    pane.setText(QStringLiteral("שלום abc"));
    EXPECT_LT(startFromRight(), 1);

    // Pasted right-to-left letters count too.
    pane.setText(QString());
    pane.insertPlainText(QStringLiteral("שלום abc"));
    EXPECT_LT(startFromRight(), 1);
    EXPECT_EQ(pane.text(), QStringLiteral("שלום abc"));
}
