#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "form4.h"
#include "gridlabels.h"
#include "htmlexport.h"
#include "letterkeyboard.h"
#include "numberpad.h"
#include "pdfexport.h"
#include "toolboards.h"

#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QPushButton>

namespace {

int at(int row, int column)
{
    return CrosswordDocument::indexOf(row, column);
}

// The pages of a PDF as poppler draws them, in grey at 40 dots per inch.
QList<QByteArray> pageImages(const QString &pdf)
{
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {"-r", "40", "-gray", pdf, pdf});
    EXPECT_TRUE(render.waitForFinished(60000) && render.exitCode() == 0) << pdf.toStdString();
    QList<QByteArray> pages;
    const QFileInfo info(pdf);
    for (const QFileInfo &page : QDir(info.path()).entryInfoList({info.fileName() + "-*.pgm"},
                                                                 QDir::Files, QDir::Name))
        pages << fileBytes(page.filePath());
    return pages;
}

} // namespace

// The editing window's commands that the companion tool also has, through the
// whole program on a scripted platform; the teacher's round in the real program
// (teacherround.py) makes, checks, prints and shares with a printer of its own.
class EditorToolCommandsTest : public ProgramTest
{
protected:
    // An editing window showing the crossword, saved as name in the test's folder.
    Form4 *editingSaved(const QString &name, const CrosswordDocument &crossword)
    {
        Form4 *window = startAndCreate();
        if (!window)
            return nullptr;
        window->showDocument(crossword);
        platform.fileAnswers = {crosswordFile(name, crossword)};
        trigger(window, "menusave2");
        return window;
    }
};

TEST_F(EditorToolCommandsTest, EachCommandClosesThePopupsAndWhenCancelledChangesNothing)
{
    QPointer<Form4> window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_TRUE(window);
    const CrosswordDocument shown = window->document();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    for (const char *item : {"menumake", "menucheck", "menuprint", "menupage"}) {
        SCOPED_TRACE(item);
        click(window->grid()->numberLabel(at(2, 2)));
        ASSERT_TRUE(window->numberPad()->isVisible());
        trigger(window, item);
        settle();
        ASSERT_EQ(editingWindow(), window.data());
        EXPECT_FALSE(window->numberPad()->isVisible() || window->keyboard()->isVisible());
        EXPECT_EQ(window->document(), shown);
    }
    EXPECT_TRUE(platform.makeRequests == 1 && platform.findingsRequests.size() == 1 &&
                platform.printChoiceRequests == 1 && platform.fileRequests.size() == 2);
    EXPECT_TRUE(platform.messages.empty() && platform.questions.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), files);
}

TEST_F(EditorToolCommandsTest, PrintingPaintsTheToolsPagesAsChosen)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "poppler draws the pages here; the Windows test compares the tool's itself";
#endif
    Form4 *window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_NE(window, nullptr);
    const Platform::PrintChoice choices[] = {
        {true, true, false}, {true, false, false}, {false, true, true}};
    for (int row = 0; row < int(std::size(choices)); ++row) {
        SCOPED_TRACE(row);
        const Platform::PrintChoice &choice = choices[row];
        const QString printed = path(QStringLiteral("%1.pdf").arg(row));
        platform.printChoices = {choice};
        platform.printFiles = {printed};
        trigger(window, "menuprint");
        EXPECT_EQ(platform.printRequests.back().preview, choice.preview);
        EXPECT_EQ(platform.printRequests.back().docName, QStringLiteral("лес"));
        const QString tool = path(QStringLiteral("tool%1.pdf").arg(row));
        putFileBytes(
            tool, PdfExport::render(cleanCrossword(),
                                    {QStringLiteral("лес"), choice.worksheet, choice.answers, {}}));
        const QList<QByteArray> pages = pageImages(printed);
        EXPECT_EQ(pages.size(), choice.worksheet + choice.answers);
        EXPECT_TRUE(pages == pageImages(tool)) << "the printed pages differ from the PDF's";
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorToolCommandsTest, CheckListsTheToolsFindingsAndGoesToTheChosenOne)
{
    CrosswordDocument crossword = cleanCrossword();
    crossword.setLetter(at(8, 0), QStringLiteral("х")); // a letter in no word
    crossword.setNumber(at(8, 8), QStringLiteral("9")); // a number on a blank square
    crossword.setClueText(cleanClueText() + QStringLiteral("5. Лишний вопрос."));
    Form4 *window = editingSaved(QStringLiteral("школа.crs"), crossword);
    ASSERT_NE(window, nullptr);
    enum class Goes { Pad, Keyboard, Clue };
    const struct
    {
        int chosen; // in the list
        int cell;
        Goes goes;
    } rows[] = {
        // "показать" pressed before: the grid's letters are hidden, and come back.
        {0, at(8, 8), Goes::Pad},
        {1, at(8, 0), Goes::Keyboard},
        {2, -1, Goes::Clue},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.chosen);
        click(window->findChild<QPushButton *>(QStringLiteral("Command2")));
        platform.findingAnswers = {row.chosen};
        trigger(window, "menucheck");
        EXPECT_EQ(window->numberPad()->isVisible(), row.goes == Goes::Pad);
        EXPECT_EQ(window->keyboard()->isVisible(), row.goes == Goes::Keyboard);
        if (row.goes == Goes::Clue) {
            EXPECT_EQ(window->cluePane()->textCursor().selectedText(), "5. Лишний вопрос.");
        } else {
            EXPECT_TRUE(window->editor().selectedCell() == row.cell &&
                        window->editor().isShown(row.cell));
        }
        EXPECT_EQ(window->document(), crossword);
    }
    QStringList listed; // the findings' texts are the check's own
    for (const Platform::Finding &finding : platform.findingsRequests.back().findings)
        listed << finding.place;
    EXPECT_EQ(listed,
              (QStringList{"строка 9, столбец 9", "строка 9, столбец 1", "вопросы, строка 8"}));
    // Nothing found: an empty list, and free-form clues noted.
    window->showDocument(boardFromRows({"кот"}, {{0, "1"}}, QStringLiteral("Кот.")));
    trigger(window, "menucheck");
    EXPECT_TRUE(platform.findingsRequests.back().findings.isEmpty());
    EXPECT_EQ(platform.findingsRequests.back().notes.size(), 1);
}

TEST_F(EditorToolCommandsTest, PageIsTheToolsPageOfWhatIsShownWrittenSafelyAndOpenedOnRequest)
{
    Form4 *window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_NE(window, nullptr);
    const QString crossword = path(QStringLiteral("лес.crs"));
    const QByteArray saved = fileBytes(crossword);
    click(window->grid()->letterLabel(at(9, 9)));
    click(window->keyboard()->key(1)); // not saved: the page shows it all the same
    const QString page = path(QStringLiteral("лес.html"));
    const QString nowhere = path(QStringLiteral("нет/лес.html"));
    const struct
    {
        QString answer;
        bool opens;      // "Открыть в браузере" is pressed when the page is written
        QString message; // its start; "" for none
    } rows[] = {
        {page, true, {}},
        {page, false, QStringLiteral("Страницу «%1» не удалось открыть").arg(QDir::toNativeSeparators(page))},
        {crossword, false, QStringLiteral("Файл «%1» — это сам кроссворд").arg(crossword)},
        {nowhere, false, QStringLiteral("Не удалось сохранить файл «%1»").arg(nowhere)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.answer.toStdString());
        platform.messages.clear();
        platform.questions.clear();
        platform.openedDocuments.clear();
        platform.fileAnswers = {row.answer};
        platform.askAnswers = {0};
        platform.openDocumentResult = row.opens;
        trigger(window, "menupage");
        const Platform::FileDialogRequest &request = platform.fileRequests.back();
        EXPECT_TRUE(request.filter == "Веб-страница (*.html)" && request.initialFileName == page);
        ASSERT_EQ(platform.messages.size(), row.message.isEmpty() ? 0u : 1u);
        if (!row.message.isEmpty()) {
            EXPECT_TRUE(platform.messages[0].text.startsWith(row.message));
        }
        const bool written = row.answer == page;
        ASSERT_EQ(platform.questions.size(), written ? 1u : 0u);
        EXPECT_EQ(platform.openedDocuments, written ? QStringList{page} : QStringList{});
    }
    EXPECT_EQ(fileBytes(page), HtmlExport::toHtml(window->document(), QStringLiteral("лес")));
    EXPECT_EQ(fileBytes(crossword), saved);

    // Untitled: "кроссворд.html" offered, and the page's own name is its title.
    trigger(window, "menunew");
    settle();
    ASSERT_NE(editingWindow(), nullptr);
    editingWindow()->showDocument(cleanCrossword());
    platform.fileAnswers = {path(QStringLiteral("урок.html"))};
    trigger(editingWindow(), "menupage");
    EXPECT_EQ(platform.fileRequests.back().initialFileName, QStringLiteral("кроссворд.html"));
    EXPECT_EQ(fileBytes(path(QStringLiteral("урок.html"))),
              HtmlExport::toHtml(cleanCrossword(), QStringLiteral("урок")));
}

TEST_F(EditorToolCommandsTest, MadeCrosswordComesInAsANewUntitledOneAskingFirstOverUnsavedWork)
{
    const CrosswordDocument made[] = {boardFromRows({"кот"}, {{0, "1"}}, "1. Мяу."),
                                      boardFromRows({".ток"}, {{1, "1"}}, "1. Ток."),
                                      boardFromRows({"..сом"}, {{2, "1"}}, "1. Рыба.")};
    QPointer<Form4> window = startAndCreate();
    ASSERT_TRUE(window);
    const struct
    {
        std::deque<CrosswordDocument> offered;
        std::deque<int> answers; // "Заменить", "Отмена"
        bool saveFirst;
        size_t questions; // asked so far
        CrosswordDocument shown;
    } rows[] = {
        {{made[0]}, {}, false, 0, made[0]},              // an empty window: no question
        {{made[1], made[2]}, {1, 0}, false, 2, made[2]}, // "Отмена" keeps the dialog up
        {{made[0]}, {}, true, 2, made[0]},               // saved work: no question
    };
    for (const auto &row : rows) {
        if (row.saveFirst) {
            platform.fileAnswers = {path(QStringLiteral("сом.crs"))};
            trigger(window, "menusave2");
        }
        platform.madeCrosswords = row.offered;
        platform.askAnswers = row.answers;
        trigger(window, "menumake");
        settle();
        EXPECT_FALSE(window) << "replaced as \"Создать\" replaces it";
        window = editingWindow();
        ASSERT_TRUE(window);
        EXPECT_EQ(window->document(), row.shown);
        EXPECT_EQ(window->editorFileName(), QString());
        ASSERT_EQ(platform.questions.size(), row.questions);
    }
    EXPECT_EQ(platform.questions[0].buttons, QStringList({"Заменить", "Отмена"}));
    trigger(window, "menunew"); // the design's commands still ask nothing
    settle();
    EXPECT_EQ(platform.questions.size(), 2u);
}
