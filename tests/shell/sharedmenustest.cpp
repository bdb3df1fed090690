#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "form1.h"
#include "form2.h"
#include "form4.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "numberpad.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

const CrosswordDocument Owl = boardFromRows({"сова"}, {{0, "1"}}, "1. Ночная птица.");

std::vector<qreal> cycleFiveTimes(QMainWindow *window, qreal (*size)(QMainWindow *))
{
    std::vector<qreal> sizes;
    for (int i = 0; i < 5; ++i) {
        trigger(window, "menufont");
        sizes.push_back(size(window));
    }
    return sizes;
}

qreal solvingSize(QMainWindow *window)
{
    return static_cast<Form1 *>(window)->clueFontSize();
}

qreal editingSize(QMainWindow *window)
{
    return static_cast<Form4 *>(window)->clueFontSize();
}

const std::vector<qreal> Cycle{14, 16, 18, 12, 14};

} // namespace

// The whole program, driven through the menus both main windows share.
class SharedMenusTest : public ProgramTest
{
};

TEST_F(SharedMenusTest, FontCycleInTheSolvingWindowStartsAgainAtTwelveAfterOpen)
{
    const QString owl = crosswordFile(QStringLiteral("сова.crs"), Owl);
    QPointer<Form1> window = startAndOpen(owl);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->clueFontSize(), 12);
    click(window->grid()->letterLabel(0));
    ASSERT_TRUE(window->keyboard()->isVisible());
    EXPECT_EQ(cycleFiveTimes(window, solvingSize), Cycle);
    EXPECT_FALSE(window->keyboard()->isVisible());

    platform.fileAnswers = {owl};
    trigger(window, "menuopen");
    settle();
    ASSERT_FALSE(window);
    ASSERT_NE(solvingWindow(), nullptr);
    EXPECT_EQ(solvingWindow()->clueFontSize(), 12);
    EXPECT_EQ(cycleFiveTimes(solvingWindow(), solvingSize), Cycle);
}

TEST_F(SharedMenusTest, FontCycleInTheEditingWindowStartsAgainAtTwelveAfterNew)
{
    QPointer<Form4> window = startAndCreate();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->clueFontSize(), 12);
    click(window->grid()->numberLabel(3));
    ASSERT_TRUE(window->numberPad()->isVisible());
    EXPECT_EQ(cycleFiveTimes(window, editingSize), Cycle);
    EXPECT_FALSE(window->numberPad()->isVisible());

    trigger(window, "menunew");
    settle();
    ASSERT_FALSE(window);
    ASSERT_NE(editingWindow(), nullptr);
    EXPECT_EQ(editingWindow()->clueFontSize(), 12);
    EXPECT_EQ(cycleFiveTimes(editingWindow(), editingSize), Cycle);
}

TEST_F(SharedMenusTest, FontSizeOutsideTheCycleStaysAndHalfPointsRoundToEven)
{
    Form4 *editing = startAndCreate();
    ASSERT_NE(editing, nullptr);
    // Read back from the pane, a size is first rounded to a whole number, half to even.
    const std::pair<qreal, qreal> steps[] = {{11.5, 14}, {12.5, 14}, {13.5, 16}, {14.5, 16},
                                             {17.5, 12}, {18.5, 12}, {12.4, 14}, {17.6, 12}};
    for (const auto &[from, to] : steps) {
        editing->setClueFontSize(from);
        trigger(editing, "menufont");
        EXPECT_EQ(editing->clueFontSize(), to) << from;
    }
    for (const qreal outside : {8.0, 13.0, 15.0, 19.0, 20.0, 10.5, 19.5}) {
        editing->setClueFontSize(outside);
        trigger(editing, "menufont");
        EXPECT_EQ(editing->clueFontSize(), outside) << "nothing changes for " << outside;
    }

    Form1 *solving = startAndOpen(crosswordFile(QStringLiteral("сова.crs"), Owl));
    ASSERT_NE(solving, nullptr);
    solving->setClueFontSize(13);
    trigger(solving, "menufont");
    EXPECT_EQ(solving->clueFontSize(), 13);
    solving->setClueFontSize(16.5);
    trigger(solving, "menufont");
    EXPECT_EQ(solving->clueFontSize(), 18);
}

TEST_F(SharedMenusTest, HelpAsksForTheRelativeHelpFileClosesThePopupsAndIgnoresTheOutcome)
{
    Form4 *editing = startAndCreate();
    ASSERT_NE(editing, nullptr);
    click(editing->grid()->letterLabel(0));
    ASSERT_TRUE(editing->keyboard()->isVisible());
    trigger(editing, "menuhelp1");
    EXPECT_FALSE(editing->keyboard()->isVisible());
    click(editing->grid()->numberLabel(0));
    ASSERT_TRUE(editing->numberPad()->isVisible());
    platform.openDocumentResult = true;
    trigger(editing, "menuhelp1");
    EXPECT_FALSE(editing->numberPad()->isVisible());
    EXPECT_EQ(platform.openedDocuments,
              QStringList({QStringLiteral("kvarcella.chm"), QStringLiteral("kvarcella.chm")}));
    EXPECT_TRUE(platform.messages.empty()) << "a missing help file is not reported";
    EXPECT_EQ(program->windows().loadedCount(), 1);
}

TEST_F(SharedMenusTest, HelpFromTheSolvingWindowClosesTheKeyboard)
{
    Form1 *solving = startAndOpen(crosswordFile(QStringLiteral("сова.crs"), Owl));
    ASSERT_NE(solving, nullptr);
    click(solving->grid()->letterLabel(2));
    ASSERT_TRUE(solving->keyboard()->isVisible());
    trigger(solving, "menuhelp1");
    EXPECT_FALSE(solving->keyboard()->isVisible());
    EXPECT_EQ(platform.openedDocuments, QStringList{QStringLiteral("kvarcella.chm")});
}

TEST_F(SharedMenusTest, AboutIsOneWindowForEveryRequestAndIsBuiltAgainAfterClosing)
{
    Form1 *solving = startAndOpen(crosswordFile(QStringLiteral("сова.crs"), Owl));
    ASSERT_NE(solving, nullptr);
    click(solving->grid()->letterLabel(1));
    ASSERT_TRUE(solving->keyboard()->isVisible());

    trigger(solving, "menuhelp2");
    EXPECT_FALSE(solving->keyboard()->isVisible());
    QPointer<Form2> about = aboutWindow();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("Кварцелла 2.0"));
    EXPECT_EQ(about->minimumSize(), about->maximumSize()) << "a fixed single border";
    const QString text = about->text()->toPlainText();
    EXPECT_EQ(text.split(u'\n').size(), 4);
    EXPECT_FALSE(text.split(u'\n').contains(QString()));

    trigger(solving, "menuhelp2");
    QTest::mouseDClick(solving->findChild<ClickableLabel *>(QStringLiteral("Label3")),
                       Qt::LeftButton);
    settle();
    EXPECT_EQ(aboutWindow(), about.data());
    EXPECT_EQ(program->windows().loadedCount(), 2);
    int aboutWindows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        aboutWindows += qobject_cast<Form2 *>(widget) ? 1 : 0;
    EXPECT_EQ(aboutWindows, 1);

    about->close();
    settle();
    EXPECT_FALSE(about);
    EXPECT_EQ(aboutWindow(), nullptr);
    EXPECT_EQ(quits, 0);
    trigger(solving, "menuhelp2");
    ASSERT_NE(aboutWindow(), nullptr);
    EXPECT_EQ(aboutWindow()->text()->toPlainText(), text);
}

TEST_F(SharedMenusTest, ExitEndsAtOnceAskingNothingEvenWithUnsavedChangesAndOpenPopups)
{
    Form4 *editing = startAndCreate();
    ASSERT_NE(editing, nullptr);
    click(editing->grid()->letterLabel(9));
    click(editing->keyboard()->key(1));
    click(editing->grid()->numberLabel(9));
    ASSERT_TRUE(editing->numberPad()->isVisible());
    trigger(editing, "menuhelp2");

    trigger(editing, "menuend");
    EXPECT_EQ(quits, 1);
    settle();
    EXPECT_EQ(quits, 1) << "ending is asked for once";
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.fileRequests.empty());
    EXPECT_TRUE(platform.inputRequests.empty());
}

TEST_F(SharedMenusTest, ExitFromTheSolvingWindowEndsAtOnce)
{
    Form1 *solving = startAndOpen(crosswordFile(QStringLiteral("сова.crs"), Owl));
    ASSERT_NE(solving, nullptr);
    click(solving->grid()->letterLabel(0));
    trigger(solving, "menuend");
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(platform.fileRequests.size(), 1u) << "only the dialog that opened the crossword";
}
