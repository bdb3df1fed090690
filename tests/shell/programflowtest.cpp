#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "filenames.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "gridlabels.h"
#include "letterkeyboard.h"

#include <QAccessible>
#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>

#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>

namespace {

const QString TitlePrefix = QStringLiteral("Кварцелла 2.0  -  ");

int keyOf(QChar letter)
{
    // Keys 1..32 carry а..я; ё is not among them and lies outside that range.
    return letter.unicode() - u'а' + 1;
}

void enterLetter(Form1 *window, int cell, QChar letter)
{
    click(window->grid()->letterLabel(cell));
    ASSERT_TRUE(window->keyboard()->isVisible()) << "cell " << cell;
    click(window->keyboard()->key(keyOf(letter)));
}

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QString::fromLatin1(name));
}

QComboBox *history(Form1 *window)
{
    return window->findChild<QComboBox *>(QStringLiteral("Combo1"));
}

const CrosswordDocument Cat = boardFromRows({".кот"}, {{1, "1"}}, "1. Домашнее животное.");
const CrosswordDocument Dog = boardFromRows({"", "пёс"}, {{20, "2"}}, "2. Друг человека.");

} // namespace

TEST_F(ProgramTest, PupilOpensSolvesTwiceAndOpensAnotherCrossword)
{
    const QString cat = crosswordFile(QStringLiteral("кот.crs"), Cat);
    const QString dog = crosswordFile(QStringLiteral("пёс.crs"), Dog);

    program->start();
    QPointer<Form3> start = startWindow();
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->isVisible());
    EXPECT_EQ(start->windowTitle(), QStringLiteral("Кварцелла 2.0"));
    EXPECT_EQ(start->focusWidget(), start->openButton());
    EXPECT_EQ(start->minimumSize(), start->maximumSize()) << "a fixed single border";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(start)->role(), QAccessible::Window);
    EXPECT_EQ(program->windows().loadedCount(), 1);

    platform.fileAnswers = {cat};
    click(start->openButton());
    settle();
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].mode, Platform::FileDialogRequest::Mode::Open);
    EXPECT_TRUE(platform.fileRequests[0].fileMustExist);
    EXPECT_EQ(platform.fileRequests[0].filter, QStringLiteral("файлы кроссворда (*.crs)"));

    EXPECT_FALSE(start) << "the start window is unloaded for good";
    QPointer<Form1> first = solvingWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(program->windows().loadedCount(), 1);
    EXPECT_EQ(currentFileName(), cat);
    EXPECT_EQ(first->windowTitle(), TitlePrefix + cat);
    EXPECT_EQ(first->cluePane()->text(), Cat.clueText());
    EXPECT_FALSE(first->grid()->letterLabel(0)->isVisible());
    EXPECT_TRUE(first->grid()->letterLabel(1)->isVisible());
    EXPECT_EQ(first->grid()->numberLabel(1)->text(), QStringLiteral("1"));

    // One wrong letter: checked, marked, emptied after "назад", then put right.
    enterLetter(first, 1, u'к');
    enterLetter(first, 2, u'и');
    enterLetter(first, 3, u'т');
    EXPECT_EQ(first->grid()->letterLabel(2)->text(), QStringLiteral("и"));
    click(button(first, "Command2"));
    EXPECT_EQ(GridLabels::background(first->grid()->letterLabel(2)), QColor(255, 255, 0));
    EXPECT_EQ(GridLabels::background(first->grid()->letterLabel(3)), QColor(255, 255, 255));
    EXPECT_EQ(first->cluePane()->text(), GridSolver::failureText(1));
    EXPECT_EQ(history(first)->count(), 1);
    EXPECT_FALSE(button(first, "Command2")->isEnabled());

    click(button(first, "Command1"));
    EXPECT_EQ(first->grid()->letterLabel(2)->text(), QString());
    EXPECT_EQ(first->grid()->letterLabel(1)->text(), QStringLiteral("к"));
    enterLetter(first, 2, u'о');
    click(button(first, "Command2"));
    EXPECT_EQ(first->cluePane()->text(), GridSolver::successText());
    EXPECT_EQ(history(first)->count(), 2);
    EXPECT_EQ(first->solver().state(), GridSolver::State::Solved);

    // "Открыть..." with another file builds the window afresh.
    platform.fileAnswers = {dog};
    trigger(first, "menuopen");
    settle();
    EXPECT_FALSE(first) << "the old solving window is unloaded";
    Form1 *second = solvingWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->windowTitle(), TitlePrefix + dog);
    EXPECT_EQ(currentFileName(), dog);
    EXPECT_EQ(history(second)->count(), 0);
    EXPECT_EQ(second->solver().attempts(), 0);
    EXPECT_EQ(second->cluePane()->text(), Dog.clueText());
    EXPECT_TRUE(second->grid()->letterLabel(20)->isVisible());
    EXPECT_FALSE(second->grid()->letterLabel(1)->isVisible());
    EXPECT_EQ(program->windows().loadedCount(), 1);
    EXPECT_EQ(quits, 0) << "a window shown afresh is not the last one closing";
    EXPECT_TRUE(platform.messages.empty());
}

namespace {

// Within two pixels (halving rounds twice) of the middle of the screen's free area.
void expectCentred(const QWidget *window)
{
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint centre = window->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - middle.x()), 2) << window->objectName().toStdString();
    EXPECT_LE(std::abs(centre.y() - middle.y()), 2) << window->objectName().toStdString();
}

void expectDesignFont(const QWidget *widget, qreal points)
{
    EXPECT_EQ(widget->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(widget->font().pointSizeF(), points) << widget->objectName().toStdString();
}

} // namespace

TEST_F(ProgramTest, StartAndMainWindowsOpenCentredWithTheDesignFonts)
{
    program->start();
    Form3 *start = startWindow();
    ASSERT_NE(start, nullptr);
    expectCentred(start);
    expectDesignFont(start->openButton(), 9.75);
    expectDesignFont(start->createButton(), 9.75);

    Form1 *solving = startAndOpen(crosswordFile(QStringLiteral("кот.crs"), Cat));
    ASSERT_NE(solving, nullptr);
    expectCentred(solving);
    trigger(solving, "menuhelp2");
    ASSERT_NE(aboutWindow(), nullptr);
    expectDesignFont(aboutWindow()->text(), 9.75);

    program = std::make_unique<Program>(platform, [this] { ++quits; });
    settle();
    Form4 *editing = startAndCreate();
    ASSERT_NE(editing, nullptr);
    expectCentred(editing);
}

TEST_F(ProgramTest, SolvingOpenClosesTheKeyboardFirstWhateverTheDialogAnswers)
{
    QPointer<Form1> window = startAndOpen(crosswordFile(QStringLiteral("кот.crs"), Cat));
    ASSERT_TRUE(window);
    const QString broken = path(QStringLiteral("broken.crs"));
    putFileBytes(broken, expectedFileBytes(Cat).left(100));
    bool openAtDialog = true;
    bool openAtMessage = true;
    platform.onFileDialog = [&](QWidget *, const Platform::FileDialogRequest &) {
        openAtDialog = window->keyboard()->isVisible();
    };
    platform.onMessage = [&](QWidget *, const FakePlatform::Message &) {
        openAtMessage = window->keyboard()->isVisible();
    };
    for (const std::optional<QString> &answer :
         {std::optional<QString>(std::nullopt), std::optional<QString>(broken),
          std::optional<QString>(path(QStringLiteral("gone.crs")))}) {
        SCOPED_TRACE(answer.value_or(QStringLiteral("cancel")).toStdString());
        click(window->grid()->letterLabel(2));
        ASSERT_TRUE(window->keyboard()->isVisible());
        openAtDialog = true;
        platform.fileAnswers = {answer};
        trigger(window, "menuopen");
        settle();
        ASSERT_EQ(solvingWindow(), window.data());
        EXPECT_FALSE(openAtDialog);
        EXPECT_FALSE(window->keyboard()->isVisible());
    }
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_FALSE(openAtMessage);
}

TEST_F(ProgramTest, CancelAtTheStartRestoresTheExactPosition)
{
    program->start();
    Form3 *start = startWindow();
    ASSERT_NE(start, nullptr);
    const QPoint home = start->pos();

    struct Seen
    {
        QPoint pos;
        bool visible;
        QWidget *owner;
    };
    std::vector<Seen> seen;
    platform.onFileDialog = [&](QWidget *owner, const Platform::FileDialogRequest &) {
        seen.push_back({start->pos(), start->isVisible(), owner});
    };

    for (int attempt = 1; attempt <= 3; ++attempt) {
        platform.fileAnswers = {std::nullopt};
        click(start->openButton());
        settle();
        ASSERT_EQ(startWindow(), start);
        EXPECT_EQ(start->pos(), home) << "after cancel " << attempt;
        EXPECT_TRUE(start->isVisible());
    }
    ASSERT_EQ(seen.size(), 3u);
    for (const Seen &s : seen) {
        // 3000 twips left and 2000 up, at 15 twips to the pixel.
        EXPECT_EQ(s.pos, home - QPoint(200, 133));
        EXPECT_FALSE(s.visible);
        EXPECT_EQ(s.owner, start);
    }
    EXPECT_EQ(currentFileName(), QString());
    EXPECT_EQ(solvingWindow(), nullptr);
    EXPECT_EQ(editingWindow(), nullptr);
    EXPECT_EQ(program->windows().loadedCount(), 1);
    EXPECT_TRUE(platform.messages.empty()) << "a cancel is not reported";
    EXPECT_EQ(quits, 0);
}

TEST_F(ProgramTest, CancelRestoresAStartWindowStandingNearTheScreenCorner)
{
    program->start();
    Form3 *start = startWindow();
    ASSERT_NE(start, nullptr);
    for (const QPoint home : {QPoint(0, 0), QPoint(7, 1), QPoint(133, 200)}) {
        start->move(home);
        platform.fileAnswers = {std::nullopt};
        click(start->openButton());
        EXPECT_EQ(start->pos(), home) << "the away position may be negative";
    }
}

// Mended fault: a crossword that cannot be read used to end the program or
// leave a half-built solving window behind. The file is now read while the
// start window still stands, and a failure brings the start window back with
// a message naming the file and the reason.
TEST_F(ProgramTest, UnreadableCrosswordAtTheStartBringsTheStartWindowBackWithAMessage)
{
    const UnreadableCrosswords unreadable = unreadableCrosswords();

    program->start();
    Form3 *start = startWindow();
    ASSERT_NE(start, nullptr);
    const QPoint home = start->pos();
    bool startStoodBehindEveryMessage = true;
    platform.onMessage = [&](QWidget *owner, const FakePlatform::Message &) {
        startStoodBehindEveryMessage = startStoodBehindEveryMessage && owner == start &&
                                       start->isVisible() && start->pos() == home;
    };
    std::size_t messages = 0;
    for (const QString &bad : unreadable.all()) {
        SCOPED_TRACE(bad.toStdString());
        platform.fileAnswers = {bad};
        click(start->openButton());
        settle();
        ASSERT_EQ(platform.messages.size(), ++messages);
        EXPECT_EQ(platform.messages.back().title, QStringLiteral("Кварцелла 2.0"));
        EXPECT_TRUE(platform.messages.back().text.contains(bad))
            << platform.messages.back().text.toStdString();
        EXPECT_EQ(startWindow(), start);
        EXPECT_TRUE(start->isVisible());
        EXPECT_EQ(start->pos(), home);
        EXPECT_EQ(solvingWindow(), nullptr);
        EXPECT_EQ(currentFileName(), QString());
        EXPECT_EQ(quits, 0);
    }
    EXPECT_TRUE(platform.messages[2].text.contains(QStringLiteral("400")))
        << "a short file says where it ran out";
    EXPECT_TRUE(startStoodBehindEveryMessage)
        << "each message is shown over the start window, back at its place";

    // The program is still usable: a good file opens.
    platform.fileAnswers = {crosswordFile(QStringLiteral("кот.crs"), Cat)};
    click(start->openButton());
    settle();
    ASSERT_NE(solvingWindow(), nullptr);
    EXPECT_EQ(startWindow(), nullptr);
}

// A double-click names the crossword on the command line: it opens as after
// "открыть", and one that cannot be read shows the start window with the message.
TEST_F(ProgramTest, CrosswordNamedOnTheCommandLineOpensAsIfChosenAtTheStart)
{
    const QString cat = crosswordFile(QStringLiteral("кот.crs"), Cat);
    std::vector<std::pair<QString, QString>> failing; // the file, and why its name fails
    for (const QString &bad : unreadableCrosswords().all())
        failing.push_back({bad, {}});
    failing.push_back({cat, QStringLiteral("имя файла записано не в кодировке UTF-8")});
    for (const auto &[file, problem] : failing) {
        SCOPED_TRACE(file.toStdString());
        program = std::make_unique<Program>(platform, [this] { ++quits; });
        settle();
        platform.messages.clear();
        platform.onMessage = [&](QWidget *owner, const FakePlatform::Message &) {
            ASSERT_EQ(owner, startWindow());
            EXPECT_TRUE(owner->isVisible());
            expectCentred(owner);
        };
        program->startWith(file, problem);
        settle();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_TRUE(platform.messages[0].text.contains(problem.isEmpty() ? file : problem));
        EXPECT_EQ(solvingWindow(), nullptr);
        EXPECT_EQ(currentFileName(), QString());
    }
    platform.onMessage = nullptr;
    platform.fileAnswers = {cat};
    click(startWindow()->openButton());
    settle();
    ASSERT_NE(solvingWindow(), nullptr) << "that start window opens files as any other";

    program = std::make_unique<Program>(platform, [this] { ++quits; });
    settle();
    platform.messages.clear();
    program->startWith(cat);
    settle();
    EXPECT_EQ(startWindow(), nullptr);
    ASSERT_NE(solvingWindow(), nullptr);
    EXPECT_TRUE(solvingWindow()->isVisible());
    EXPECT_EQ(solvingWindow()->windowTitle(), TitlePrefix + cat);
    EXPECT_EQ(currentFileName(), cat);
    EXPECT_EQ(platform.fileRequests.size(), 1u) << "no dialog but the one above";
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(quits, 0);
}

// Mended fault: the solving window's "Открыть..." used to unload the window
// before reading the new file. Now the file is read first and a failure keeps
// the window, its entries, checks and history as they were.
TEST_F(ProgramTest, SolvingWindowKeepsItsCrosswordWhenTheNextOneCannotBeRead)
{
    const QString cat = crosswordFile(QStringLiteral("кот.crs"), Cat);
    const QString broken = path(QStringLiteral("broken.crs"));
    putFileBytes(broken, expectedFileBytes(Cat).left(100 * 8));

    QPointer<Form1> window = startAndOpen(cat);
    ASSERT_TRUE(window);
    enterLetter(window, 1, u'к');
    click(button(window, "Command2"));
    const QString clueText = window->cluePane()->text();
    ASSERT_EQ(history(window)->count(), 1);

    for (const std::optional<QString> &answer :
         {std::optional<QString>(broken), std::optional<QString>(std::nullopt),
          std::optional<QString>(path(QStringLiteral("gone.crs")))}) {
        platform.fileAnswers = {answer};
        trigger(window, "menuopen");
        settle();
        ASSERT_TRUE(window);
        EXPECT_EQ(solvingWindow(), window.data());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), TitlePrefix + cat);
        EXPECT_EQ(currentFileName(), cat);
        EXPECT_EQ(history(window)->count(), 1);
        EXPECT_EQ(window->solver().attempts(), 1);
        EXPECT_EQ(window->grid()->letterLabel(1)->text(), QStringLiteral("к"));
        EXPECT_EQ(window->cluePane()->text(), clueText);
    }
    ASSERT_EQ(platform.messages.size(), 2u) << "the cancel says nothing";
    EXPECT_TRUE(platform.messages[0].text.contains(broken));
    EXPECT_TRUE(platform.messages[1].text.contains(path(QStringLiteral("gone.crs"))));
    EXPECT_EQ(quits, 0);
}

TEST_F(ProgramTest, CreatingFromTheStartShowsAnEmptyEditingWindowAndLeavesTheFileNameAlone)
{
    currentFileName() = QStringLiteral("/earlier/run.crs");
    program->start();
    QPointer<Form3> start = startWindow();
    click(start->createButton());
    settle();
    EXPECT_FALSE(start);
    Form4 *window = editingWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Кварцелла 2.0"));
    EXPECT_EQ(window->editorFileName(), QString());
    EXPECT_EQ(window->document(), CrosswordDocument());
    EXPECT_TRUE(window->grid()->letterLabel(399)->isVisible());
    EXPECT_EQ(currentFileName(), QStringLiteral("/earlier/run.crs"));
    EXPECT_EQ(program->windows().loadedCount(), 1);
    EXPECT_TRUE(platform.fileRequests.empty());
}

TEST_F(ProgramTest, ClosingTheStartWindowBeforeChoosingEndsTheProgram)
{
    program->start();
    startWindow()->close();
    settle();
    EXPECT_EQ(program->windows().loadedCount(), 0);
    EXPECT_EQ(quits, 1);
}

TEST_F(ProgramTest, ClosingTheMainWindowWithAboutOpenEndsOnlyWhenAboutIsClosedToo)
{
    Form1 *window = startAndOpen(crosswordFile(QStringLiteral("кот.crs"), Cat));
    ASSERT_NE(window, nullptr);
    trigger(window, "menuhelp2");
    ASSERT_NE(aboutWindow(), nullptr);

    window->close();
    settle();
    EXPECT_EQ(solvingWindow(), nullptr);
    EXPECT_EQ(quits, 0) << "the About window is still loaded";
    ASSERT_NE(aboutWindow(), nullptr);
    EXPECT_TRUE(aboutWindow()->isVisible());

    aboutWindow()->close();
    settle();
    EXPECT_EQ(program->windows().loadedCount(), 0);
    EXPECT_EQ(quits, 1);
}

TEST_F(ProgramTest, ClosingTheOnlyEditingWindowEndsTheProgram)
{
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    window->close();
    settle();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(platform.messages.empty());
}
