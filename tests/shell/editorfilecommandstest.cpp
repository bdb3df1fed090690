#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "crosswordfile.h"
#include "dailypassword.h"
#include "form1.h"
#include "form4.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "numberpad.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

const QString Untitled = QStringLiteral("Кварцелла 2.0");
const QString TitlePrefix = QStringLiteral("Кварцелла 2.0  -  ");

void typeLetter(Form4 *window, int cell, QChar letter)
{
    click(window->grid()->letterLabel(cell));
    ASSERT_TRUE(window->keyboard()->isVisible()) << "cell " << cell;
    click(window->keyboard()->key(letter.unicode() - u'а' + 1));
}

// Types a number on the pad opened at the cell's corner and stores it.
void typeNumber(Form4 *window, int cell, const QString &digits)
{
    click(window->grid()->numberLabel(cell));
    ASSERT_TRUE(window->numberPad()->isVisible()) << "cell " << cell;
    for (const QChar digit : digits)
        click(window->numberPad()->key(digit.digitValue() + 1));
    click(window->numberPad()->key(12));
}

void typeClues(Form4 *window, const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(window->cluePane(), Qt::Key_Return);
        // One key per character; the text carries the letter, as a Russian layout gives it.
        for (const QChar c : lines[i])
            QTest::sendKeyEvent(QTest::Click, window->cluePane(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
}

QString todaysPassword(const FakePlatform &platform)
{
    return DailyPassword::forDate(platform.date, QLocale::system());
}

CrosswordDocument readBack(const QString &path)
{
    CrosswordDocument document;
    CrosswordFileError error;
    EXPECT_TRUE(CrosswordFile::read(path, &document, &error)) << error.message().toStdString();
    return document;
}

} // namespace

// The whole program, driven through the editing window's file menu.
class EditorFileCommandsTest : public ProgramTest
{
};

TEST_F(EditorFileCommandsTest,
       TeacherBuildsByClicksAndSaveAsWritesTheExactBytesThenSaveNeedsNoDialog)
{
    QPointer<Form4> window = startAndCreate();
    ASSERT_TRUE(window);
    typeLetter(window, 1, u'к');
    typeLetter(window, 2, u'о');
    typeLetter(window, 3, u'т');
    typeLetter(window, 399, u'я');
    typeNumber(window, 1, QStringLiteral("1"));
    typeNumber(window, 40, QStringLiteral("12"));
    typeNumber(window, 41, QStringLiteral("05"));
    typeClues(window, {QStringLiteral("По горизонтали:"), QStringLiteral("1. Домашнее животное."),
                       QString(), QStringLiteral("12. «Ёж» — тоже зверь.")});

    CrosswordDocument expected = boardFromRows({".кот"}, {{1, "1"}, {40, "12"}, {41, "05"}},
                                               QStringLiteral("По горизонтали:\r\n"
                                                              "1. Домашнее животное.\r\n"
                                                              "\r\n"
                                                              "12. «Ёж» — тоже зверь."));
    expected.setLetter(399, QStringLiteral("я"));

    // A name typed without the extension is used as it stands.
    const QString file = path(QStringLiteral("кот"));
    platform.fileAnswers = {file};
    click(window->grid()->letterLabel(7));
    ASSERT_TRUE(window->keyboard()->isVisible());
    trigger(window, "menusave2");
    EXPECT_FALSE(window->keyboard()->isVisible()) << "the command closes the pop-ups first";
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].mode, Platform::FileDialogRequest::Mode::Save);
    EXPECT_TRUE(platform.fileRequests[0].confirmOverwrite);
    EXPECT_EQ(platform.fileRequests[0].filter, QStringLiteral("файлы кроссворда (*.crs)"));
    EXPECT_EQ(platform.fileRequests[0].initialFileName, QString());
    EXPECT_EQ(fileBytes(file), expectedFileBytes(expected));
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".crs")));
    EXPECT_EQ(window->editorFileName(), file);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + file);

    // Save to the known name: pop-ups closed first, no dialog, same title.
    typeLetter(window, 4, u'ы');
    expected.setLetter(4, QStringLiteral("ы"));
    click(window->grid()->numberLabel(9));
    ASSERT_TRUE(window->numberPad()->isVisible());
    trigger(window, "menusave1");
    EXPECT_FALSE(window->numberPad()->isVisible());
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(fileBytes(file), expectedFileBytes(expected));
    EXPECT_EQ(window->windowTitle(), TitlePrefix + file);

    // Save As again offers the name it returned last.
    platform.fileAnswers = {std::nullopt};
    trigger(window, "menusave2");
    ASSERT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(platform.fileRequests[1].initialFileName, file);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + file) << "a cancel changes nothing";

    // New: untitled again, and the next Save asks for a name in a fresh dialog.
    trigger(window, "menunew");
    settle();
    EXPECT_FALSE(window);
    Form4 *fresh = editingWindow();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isVisible());
    EXPECT_EQ(fresh->windowTitle(), Untitled);
    EXPECT_EQ(fresh->editorFileName(), QString());
    EXPECT_EQ(fresh->document(), CrosswordDocument());
    platform.fileAnswers = {std::nullopt};
    trigger(fresh, "menusave1");
    ASSERT_EQ(platform.fileRequests.size(), 3u);
    EXPECT_EQ(platform.fileRequests[2].mode, Platform::FileDialogRequest::Mode::Save);
    EXPECT_EQ(platform.fileRequests[2].initialFileName, QString());
    EXPECT_EQ(fresh->windowTitle(), Untitled);
    EXPECT_EQ(fileBytes(file), expectedFileBytes(expected)) << "the cancelled save wrote nothing";
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorFileCommandsTest, OpenBehindTodaysPasswordShowsEveryCellAndResetsTheClueFont)
{
    CrosswordDocument saved =
        boardFromRows({"", "..дом"}, {{22, "3"}}, QStringLiteral("3. Где живут.\r\n"));
    const QString file = crosswordFile(QStringLiteral("дом.crs"), saved);
    const CrosswordDocument asRead = readBack(file);

    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    typeLetter(window, 0, u'ж');
    trigger(window, "menufont");
    trigger(window, "menufont");
    ASSERT_EQ(window->clueFontSize(), 16);
    click(window->findChild<QPushButton *>(QStringLiteral("Command2"))); // "показать"
    ASSERT_FALSE(window->grid()->letterLabel(5)->isVisible());
    click(window->grid()->numberLabel(0));
    ASSERT_TRUE(window->numberPad()->isVisible());

    platform.date = QDate(2028, 2, 29);
    // The right password and then a cancelled dialog: nothing changes, not even the title.
    platform.inputAnswers = {todaysPassword(platform)};
    platform.fileAnswers = {std::nullopt};
    trigger(window, "menuopen");
    EXPECT_EQ(window->windowTitle(), Untitled);
    EXPECT_EQ(window->grid()->letterLabel(0)->text(), QStringLiteral("ж"));
    EXPECT_EQ(window->clueFontSize(), 16);

    platform.inputAnswers = {todaysPassword(platform)};
    platform.fileAnswers = {file};
    trigger(window, "menuopen");

    EXPECT_FALSE(window->numberPad()->isVisible());
    ASSERT_EQ(platform.inputRequests.size(), 2u);
    EXPECT_EQ(platform.inputRequests[0].prompt, QStringLiteral("введите пароль"));
    EXPECT_EQ(platform.inputRequests[0].title, QStringLiteral("открытие кроссворда"));
    EXPECT_EQ(platform.inputRequests[0].position, (TwipPoint{3800, 5000}));
    ASSERT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(platform.fileRequests[1].mode, Platform::FileDialogRequest::Mode::Open);
    EXPECT_TRUE(platform.fileRequests[1].fileMustExist);

    EXPECT_EQ(window->document(), asRead);
    EXPECT_EQ(window->grid()->letterLabel(22)->text(), QStringLiteral("д"));
    EXPECT_EQ(window->grid()->numberLabel(22)->text(), QStringLiteral("3"));
    EXPECT_EQ(window->grid()->letterLabel(0)->text(), QString());
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell)
        ASSERT_TRUE(window->grid()->letterLabel(cell)->isVisible()) << cell;
    EXPECT_EQ(window->cluePane()->text(), asRead.clueText());
    EXPECT_EQ(window->clueFontSize(), 12);
    EXPECT_EQ(window->editorFileName(), file);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + file);
    EXPECT_TRUE(platform.messages.empty());

    // Saving what was opened goes back to the same file without a dialog.
    trigger(window, "menusave1");
    EXPECT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(readBack(file), asRead);
}

TEST_F(EditorFileCommandsTest, RefusedPasswordLoadsNothingAndOnlyRewritesTheTitle)
{
    const QString file = crosswordFile(QStringLiteral("дом.crs"), boardFromRows({"дом"}));
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    typeLetter(window, 5, u'ю');

    const QDate today(2026, 12, 8);
    const QDate otherDay(2026, 11, 9);
    const QString right = DailyPassword::forDate(today, QLocale::system());
    const QString yesterdays = DailyPassword::forDate(otherDay, QLocale::system());
    ASSERT_NE(yesterdays, right);
    platform.date = today;

    for (const QString &typed : {QString(), yesterdays, right + u' ', right.left(3)}) {
        SCOPED_TRACE(typed.toStdString());
        platform.inputAnswers = {typed};
        platform.fileAnswers = {file};
        trigger(window, "menuopen");
        EXPECT_TRUE(platform.fileRequests.empty()) << "no dialog after a wrong password";
        EXPECT_EQ(window->grid()->letterLabel(5)->text(), QStringLiteral("ю"));
        EXPECT_EQ(window->grid()->letterLabel(0)->text(), QString());
        // The title is rewritten even so: an untitled window shows the bare separator.
        EXPECT_EQ(window->windowTitle(), TitlePrefix);
        EXPECT_EQ(window->editorFileName(), QString());
    }
    EXPECT_EQ(platform.inputRequests.size(), 4u);
    EXPECT_TRUE(platform.messages.empty()) << "a wrong password is not answered";

    // The same day's password, typed on that day, is accepted.
    platform.inputAnswers = {right};
    platform.fileAnswers = {file};
    trigger(window, "menuopen");
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(window->grid()->letterLabel(0)->text(), QStringLiteral("д"));
}

TEST_F(EditorFileCommandsTest, PasswordLettersMustMatchInCase)
{
    // A short date with a month name ("18 Dec 2026" in the C locale) puts
    // letters into the password.
    platform.date = QDate(2026, 12, 18);
    const QString right = DailyPassword::forDate(platform.date, QLocale::system());
    if (right.toLower() == right.toUpper())
        GTEST_SKIP() << "the system short date " << right.toStdString() << " holds no letters";
    const QString file = crosswordFile(QStringLiteral("дом.crs"), boardFromRows({"дом"}));
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    for (const QString &typed : {right.toLower(), right.toUpper()}) {
        if (typed == right)
            continue;
        platform.inputAnswers = {typed};
        platform.fileAnswers = {file};
        trigger(window, "menuopen");
        EXPECT_TRUE(platform.fileRequests.empty()) << typed.toStdString();
    }
    platform.inputAnswers = {right};
    platform.fileAnswers = {file};
    trigger(window, "menuopen");
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(window->editorFileName(), file);
}

// The road of a crossword: built by clicks in the editing window, saved, then
// opened by a pupil from the start window of a later run.
TEST_F(EditorFileCommandsTest, CrosswordMadeInTheEditorOpensForThePupilWithTheSameShape)
{
    Form4 *editing = startAndCreate();
    ASSERT_NE(editing, nullptr);
    const QString word = QStringLiteral("сосна");
    for (int i = 0; i < 5; ++i)
        typeLetter(editing, 21 + i, word[i]);
    typeLetter(editing, 41, u'л');
    typeLetter(editing, 61, u'ь');
    typeLetter(editing, 399, u'я');
    typeNumber(editing, 21, QStringLiteral("1"));
    typeNumber(editing, 41, QStringLiteral("2"));
    typeNumber(editing, 399, QStringLiteral("17"));
    typeNumber(editing, 200, QStringLiteral("5")); // a number on a blank square
    typeClues(editing, {QStringLiteral("1. Дерево."), QStringLiteral("17. Буква.")});
    const QString file = path(QStringLiteral("урок.crs"));
    platform.fileAnswers = {file};
    trigger(editing, "menusave2");
    ASSERT_EQ(editing->editorFileName(), file);
    const CrosswordDocument made = editing->document();

    program = std::make_unique<Program>(platform, [this] { ++quits; });
    settle();
    Form1 *solving = startAndOpen(file);
    ASSERT_NE(solving, nullptr);
    int shown = 0;
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        const bool playable = !made.letter(cell).isEmpty();
        shown += playable;
        EXPECT_EQ(solving->grid()->letterLabel(cell)->isVisible(), playable) << cell;
        EXPECT_EQ(solving->grid()->letterLabel(cell)->text(), QString()) << cell;
        const bool numbered = playable && !made.number(cell).isEmpty();
        EXPECT_EQ(solving->grid()->numberLabel(cell)->isVisible(), numbered) << cell;
        if (numbered) {
            EXPECT_EQ(solving->grid()->numberLabel(cell)->text(), made.number(cell)) << cell;
        }
    }
    EXPECT_EQ(shown, 8);
    EXPECT_EQ(solving->cluePane()->text(), QStringLiteral("1. Дерево.\r\n17. Буква."));
    EXPECT_EQ(solving->windowTitle(), TitlePrefix + file);
}

// Mended fault: Open used to empty the clue pane, reset its font and take the
// new file name before reading, so a failed read left a mixture that a plain
// Save would then write over the file. Now nothing changes unless the read
// succeeds, and a message says why it did not.
TEST_F(EditorFileCommandsTest, EditorOpenThatFailsAfterTheDialogChangesNothing)
{
    const UnreadableCrosswords unreadable = unreadableCrosswords();

    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    typeLetter(window, 21, u'щ');
    typeNumber(window, 21, QStringLiteral("7"));
    typeClues(window, {QStringLiteral("7. Суп.")});
    trigger(window, "menufont");
    const QString mine = path(QStringLiteral("мой.crs"));
    platform.fileAnswers = {mine};
    trigger(window, "menusave2");
    const QByteArray mineBytes = fileBytes(mine);
    ASSERT_FALSE(mineBytes.isEmpty());
    const CrosswordDocument before = window->document();

    std::size_t messages = 0;
    for (const QString &bad : unreadable.all()) {
        SCOPED_TRACE(bad.toStdString());
        platform.inputAnswers = {todaysPassword(platform)};
        platform.fileAnswers = {bad};
        trigger(window, "menuopen");
        ASSERT_EQ(platform.messages.size(), ++messages);
        EXPECT_EQ(platform.messages.back().title, Untitled);
        EXPECT_TRUE(platform.messages.back().text.contains(bad));
        EXPECT_EQ(window->document(), before);
        EXPECT_EQ(window->cluePane()->text(), QStringLiteral("7. Суп."));
        EXPECT_EQ(window->clueFontSize(), 14);
        EXPECT_EQ(window->editorFileName(), mine);
        EXPECT_EQ(window->windowTitle(), TitlePrefix + mine);
    }

    // A plain Save still goes to the crossword's own file, never to the failed one.
    const qsizetype fileRequests = platform.fileRequests.size();
    trigger(window, "menusave1");
    EXPECT_EQ(platform.fileRequests.size(), fileRequests);
    EXPECT_EQ(fileBytes(mine), mineBytes);
    EXPECT_EQ(fileBytes(unreadable.shortFile), unreadable.shortBytes);
}

// Mended fault: a Save or Save As that could not write used to stay silent
// while taking the new name into editorFileName and the title. Now it says so,
// and name, title and the file on disk stay as they were.
TEST_F(EditorFileCommandsTest, SaveThatCannotWriteSaysSoAndKeepsNameTitleAndFile)
{
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    typeLetter(window, 0, u'а');

    const QString noFolder = path(QStringLiteral("нет/такой.crs"));
    const QString folder = path(QStringLiteral("папка.crs"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString &bad : {noFolder, folder}) {
        SCOPED_TRACE(bad.toStdString());
        platform.fileAnswers = {bad};
        trigger(window, "menusave1"); // untitled: Save does what Save As does
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_TRUE(platform.messages.back().text.contains(bad));
        EXPECT_EQ(window->editorFileName(), QString());
        EXPECT_EQ(window->windowTitle(), Untitled);
    }
    EXPECT_FALSE(QFileInfo::exists(noFolder));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // With a name already known.
    const QString sub = path(QStringLiteral("класс"));
    ASSERT_TRUE(QDir().mkdir(sub));
    const QString good = sub + QStringLiteral("/урок.crs");
    platform.fileAnswers = {good};
    trigger(window, "menusave2");
    ASSERT_EQ(window->editorFileName(), good);
    const std::size_t messages = platform.messages.size();

    platform.fileAnswers = {folder};
    trigger(window, "menusave2");
    ASSERT_EQ(platform.messages.size(), messages + 1);
    EXPECT_EQ(window->editorFileName(), good);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + good);

    // The known file's folder disappears: Save reports it, over a window whose
    // pop-ups it closed first, and keeps the name.
    ASSERT_TRUE(QDir(sub).removeRecursively());
    click(window->grid()->letterLabel(5));
    ASSERT_TRUE(window->keyboard()->isVisible());
    bool keyboardAtMessage = true;
    platform.onMessage = [&](QWidget *, const FakePlatform::Message &) {
        keyboardAtMessage = window->keyboard()->isVisible();
    };
    trigger(window, "menusave1");
    EXPECT_FALSE(keyboardAtMessage);
    ASSERT_EQ(platform.messages.size(), messages + 2);
    EXPECT_TRUE(platform.messages.back().text.contains(good));
    EXPECT_EQ(window->editorFileName(), good);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + good);
    EXPECT_EQ(quits, 0);
}

// Mended fault: a clue character that Windows-1251 has no byte for used to be
// written as something else without a word. Now the save is refused and the
// message names the character; the file keeps its previous content.
TEST_F(EditorFileCommandsTest, ClueCharacterOutsideWindows1251IsRefusedByName)
{
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    typeLetter(window, 0, u'о');
    typeClues(window, {QStringLiteral("1. Круг.")});
    const QString file = path(QStringLiteral("круг.crs"));
    platform.fileAnswers = {file};
    trigger(window, "menusave2");
    const QByteArray before = fileBytes(file);
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(platform.messages.empty());

    typeClues(window, {QString(), QStringLiteral("Ω — омега.")});
    trigger(window, "menusave1");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("Ω")))
        << platform.messages[0].text.toStdString();
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(window->editorFileName(), file);

    const QString other = path(QStringLiteral("омега.crs"));
    platform.fileAnswers = {other};
    trigger(window, "menusave2");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[1].text.contains(QStringLiteral("Ω")));
    EXPECT_FALSE(QFileInfo::exists(other));
    EXPECT_EQ(window->editorFileName(), file);
    EXPECT_EQ(window->windowTitle(), TitlePrefix + file);
}
