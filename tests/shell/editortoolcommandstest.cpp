#include "shelltesting.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "cluepane.h"
#include "crosswordcheck.h"
#include "form4.h"
#include "gridlabels.h"
#include "htmlexport.h"
#include "letterkeyboard.h"
#include "numberpad.h"
#include "pdfexport.h"
#include "toolboards.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTextCursor>

namespace {

int at(int row, int column)
{
    return CrosswordDocument::indexOf(row, column);
}

// The pages of a PDF as poppler draws them, in grey at 40 dots per inch.
QList<QByteArray> pageImages(const QString &pdf)
{
    const QString prefix = pdf + QStringLiteral("-page");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {"-r", "40", "-gray", pdf, prefix});
    EXPECT_TRUE(render.waitForFinished(60000) && render.exitCode() == 0)
        << "pdftoppm failed on " << pdf.toStdString();
    QList<QByteArray> pages;
    const QFileInfo info(pdf);
    for (const QFileInfo &page :
         QDir(info.path()).entryInfoList({info.fileName() + QStringLiteral("-page*.pgm")},
                                         QDir::Files, QDir::Name))
        pages << fileBytes(page.filePath());
    return pages;
}

// What a command may not change in the window.
struct Shown
{
    CrosswordDocument document;
    QString title;
    QString fileName;
    bool operator==(const Shown &) const = default;
};

Shown shownIn(const Form4 *window)
{
    return {window->document(), window->windowTitle(), window->editorFileName()};
}

} // namespace

// The editing window's commands that the companion tool also has, through
// the whole program on a scripted platform.
class EditorToolCommandsTest : public ProgramTest
{
protected:
    // An editing window showing a crossword saved as name in the test's folder.
    Form4 *editingSaved(const QString &name, const CrosswordDocument &crossword)
    {
        Form4 *window = startAndCreate();
        EXPECT_NE(window, nullptr);
        if (!window)
            return nullptr;
        window->showDocument(crossword);
        platform.fileAnswers = {crosswordFile(name, crossword)};
        trigger(window, "menusave2");
        EXPECT_FALSE(window->hasUnsavedChanges());
        return window;
    }
};

TEST_F(EditorToolCommandsTest, EachCommandClosesThePopupsAndWhenCancelledChangesNothing)
{
    QPointer<Form4> window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_TRUE(window);
    const Shown before = shownIn(window);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    const struct
    {
        const char *item;
        bool numberPad;
        std::function<int()> asked;
    } rows[] = {
        {"menumake", false, [&] { return platform.makeRequests; }},
        {"menucheck", true, [&] { return int(platform.findingsRequests.size()); }},
        {"menuprint", false, [&] { return platform.printChoiceRequests; }},
        {"menupage", true, [&] { return int(platform.fileRequests.size()) - 1; }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.item);
        click(row.numberPad ? window->grid()->numberLabel(at(2, 2))
                            : window->grid()->letterLabel(at(2, 2)));
        ASSERT_TRUE(window->keyboard()->isVisible() || window->numberPad()->isVisible());
        trigger(window, row.item);
        settle();
        ASSERT_TRUE(window);
        EXPECT_FALSE(window->keyboard()->isVisible() || window->numberPad()->isVisible());
        EXPECT_EQ(row.asked(), 1);
        EXPECT_TRUE(shownIn(window) == before);
        EXPECT_EQ(editingWindow(), window.data());
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_TRUE(platform.printRequests.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), files);
}

TEST_F(EditorToolCommandsTest, PrintingPaintsTheToolsPagesOnThePrinterAndReportsWhatWasNotPrinted)
{
    Form4 *window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_NE(window, nullptr);
    const QString refused =
        QStringLiteral("принтер «класс» не принял задание: он сейчас не принимает задания");
    const QString nowhere = path(QStringLiteral("нет/лист.pdf"));
    const struct
    {
        Platform::PrintChoice choice;
        QString refusal;
        QString file;
        QString message; // "" when printed
    } rows[] = {
        {{true, true, false}, {}, {}, {}},
        {{true, false, false}, {}, {}, {}},
        {{false, true, true}, {}, {}, {}},
        {{true, true, false}, refused, {}, QStringLiteral("Кроссворд не напечатан: %1.").arg(refused)},
        {{true, true, false}, {}, nowhere,
         QStringLiteral("Кроссворд не напечатан: файл «%1» не удалось записать.").arg(nowhere)},
    };
    int row = 0;
    for (const auto &r : rows) {
        SCOPED_TRACE(row);
        const QString printed = r.file.isEmpty() ? path(QStringLiteral("лист%1.pdf").arg(row)) : r.file;
        platform.printChoices = {r.choice};
        platform.printFiles = {printed};
        platform.printRefusal = r.refusal;
        platform.messages.clear();
        trigger(window, "menuprint");
        ASSERT_EQ(platform.printRequests.size(), size_t(row + 1));
        const FakePlatform::PrintRequest &request = platform.printRequests.back();
        EXPECT_EQ(request.preview, r.choice.preview);
        EXPECT_EQ(request.docName, QStringLiteral("лес"));
        EXPECT_EQ(request.pageSize.id(), QPageSize::A4);
        EXPECT_TRUE(request.fullPage);
        EXPECT_EQ(request.resolution, 1200);
        EXPECT_EQ(platform.messages.empty(), r.message.isEmpty());
        if (!r.message.isEmpty()) {
            EXPECT_EQ(platform.messages.front().text, r.message);
        } else {
            PdfExport::Options options;
            options.title = QStringLiteral("лес");
            options.worksheet = r.choice.worksheet;
            options.answers = r.choice.answers;
            const QString tool = path(QStringLiteral("tool%1.pdf").arg(row));
            putFileBytes(tool, PdfExport::render(cleanCrossword(), options));
            const QList<QByteArray> pages = pageImages(printed);
            EXPECT_EQ(pages.size(), r.choice.worksheet + r.choice.answers);
            EXPECT_TRUE(pages == pageImages(tool)) << "the printed pages differ from the PDF's";
        }
        ++row;
    }
}

TEST_F(EditorToolCommandsTest, CheckListsTheToolsFindingsAndGoesToTheChosenOne)
{
    CrosswordDocument crossword = cleanCrossword();
    crossword.setNumber(at(5, 5), QString());           // тетрадь without its number
    crossword.setLetter(at(8, 0), QStringLiteral("х")); // a letter in no word
    crossword.setNumber(at(8, 8), QStringLiteral("9")); // a number on a blank square
    crossword.setClueText(cleanClueText() + QStringLiteral("5. Лишний вопрос."));
    Form4 *window = editingSaved(QStringLiteral("школа.crs"), crossword);
    ASSERT_NE(window, nullptr);
    const CrosswordCheck check(crossword);
    QList<Platform::Finding> expected;
    for (const CrosswordCheck::Finding &finding : check.findings())
        expected.append({finding.cell >= 0
                             ? CrosswordCheck::cellPlace(finding.cell)
                             : QStringLiteral("вопросы, строка %1").arg(finding.clueLine),
                         finding.text});
    const auto findingAt = [&check](int cell, int clueLine = 0) {
        for (qsizetype i = 0; i < check.findings().size(); ++i) {
            if (check.findings()[i].cell == cell && check.findings()[i].clueLine == clueLine)
                return int(i);
        }
        ADD_FAILURE() << "no finding at cell " << cell << ", clue line " << clueLine;
        return 0;
    };

    enum class Goes { Pad, Keyboard, Clue };
    const struct
    {
        int chosen;
        bool preview; // "показать" pressed before the check
        Goes goes;
        int cell;
    } rows[] = {
        {findingAt(at(5, 5)), false, Goes::Pad, at(5, 5)},
        {findingAt(at(8, 8)), false, Goes::Pad, at(8, 8)},
        // Hidden by the preview: the whole grid comes back.
        {findingAt(at(8, 8)), true, Goes::Pad, at(8, 8)},
        {findingAt(at(8, 0)), true, Goes::Keyboard, at(8, 0)},
        {findingAt(-1, 8), false, Goes::Clue, -1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.chosen);
        if (row.preview)
            click(window->findChild<QPushButton *>(QStringLiteral("Command2")));
        platform.findingAnswers = {row.chosen};
        trigger(window, "menucheck");
        const FakePlatform::FindingsRequest &request = platform.findingsRequests.back();
        ASSERT_EQ(request.findings.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(request.findings[i].place, expected[i].place);
            EXPECT_EQ(request.findings[i].text, expected[i].text);
        }
        EXPECT_EQ(window->numberPad()->isVisible(), row.goes == Goes::Pad);
        EXPECT_EQ(window->keyboard()->isVisible(), row.goes == Goes::Keyboard);
        if (row.goes != Goes::Clue) {
            EXPECT_EQ(window->editor().selectedCell(), row.cell);
            EXPECT_TRUE(window->editor().isShown(row.cell));
        } else {
            EXPECT_EQ(window->cluePane()->textCursor().selectedText(),
                      QStringLiteral("5. Лишний вопрос."));
        }
        EXPECT_EQ(window->document(), crossword);
    }

    // Nothing found: an empty list, and the clues' form noted when free.
    window->hidePopups();
    window->showDocument(boardFromRows({"кот"}, {{0, "1"}}, QStringLiteral("Кот.")));
    trigger(window, "menucheck");
    EXPECT_TRUE(platform.findingsRequests.back().findings.isEmpty());
    EXPECT_EQ(platform.findingsRequests.back().notes.size(), 1);
    EXPECT_FALSE(window->keyboard()->isVisible() || window->numberPad()->isVisible());
}

TEST_F(EditorToolCommandsTest, PageIsTheToolsPageOfWhatIsShownWrittenSafelyAndOpenedOnRequest)
{
    QPointer<Form4> window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_TRUE(window);
    const QString crossword = path(QStringLiteral("лес.crs"));
    const QByteArray saved = fileBytes(crossword);
    click(window->grid()->letterLabel(at(9, 9)));
    click(window->keyboard()->key(1)); // unsaved: the page shows it all the same
    const QString page = path(QStringLiteral("лес.html"));

    platform.fileAnswers = {page};
    platform.askAnswers = {0};
    platform.openDocumentResult = true;
    trigger(window, "menupage");
    const Platform::FileDialogRequest &request = platform.fileRequests.back();
    EXPECT_EQ(request.mode, Platform::FileDialogRequest::Mode::Save);
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(request.filter, QStringLiteral("Веб-страница (*.html)"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("html"));
    EXPECT_EQ(request.initialFileName, page);
    EXPECT_EQ(fileBytes(page), HtmlExport::toHtml(window->document(), QStringLiteral("лес")));
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_TRUE(platform.questions[0].text.startsWith(
        QStringLiteral("Страница для учеников записана в файл «%1».")
            .arg(QDir::toNativeSeparators(page))));
    EXPECT_EQ(platform.questions[0].buttons,
              QStringList({"Открыть в браузере", "Закрыть"}));
    EXPECT_EQ(platform.openedDocuments, QStringList({page}));
    EXPECT_TRUE(platform.messages.empty());

    const QString nowhere = path(QStringLiteral("нет/лес.html"));
    const struct
    {
        QString answer;
        int ask;
        bool opens;
        QString message; // its start; "" for none
    } rows[] = {
        {crossword, -1, false, QStringLiteral("Файл «%1» — это сам кроссворд").arg(crossword)},
        {nowhere, -1, false, QStringLiteral("Не удалось сохранить файл «%1»").arg(nowhere)},
        {page, 0, false, QStringLiteral("Страницу «%1» не удалось открыть")
                             .arg(QDir::toNativeSeparators(page))},
        {page, 1, true, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.answer.toStdString());
        platform.messages.clear();
        platform.openedDocuments.clear();
        platform.fileAnswers = {row.answer};
        platform.askAnswers = {row.ask};
        platform.openDocumentResult = row.opens;
        trigger(window, "menupage");
        EXPECT_EQ(platform.messages.size(), row.message.isEmpty() ? 0u : 1u);
        if (!row.message.isEmpty()) {
            EXPECT_TRUE(platform.messages.front().text.startsWith(row.message))
                << platform.messages.front().text.toStdString();
        }
        EXPECT_EQ(platform.openedDocuments.size(), row.ask == 0 ? 1 : 0);
    }
    EXPECT_EQ(fileBytes(crossword), saved);
    EXPECT_FALSE(QFile::exists(nowhere));

    // Untitled: the page's own name is the title.
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
    const CrosswordDocument first = boardFromRows({"кот"}, {{0, "1"}}, QStringLiteral("1. Мяу."));
    const CrosswordDocument second = boardFromRows({".ток"}, {{1, "1"}}, QStringLiteral("1. Ток."));
    const CrosswordDocument third = boardFromRows({"..сом"}, {{2, "1"}}, QStringLiteral("1. Рыба."));

    // An empty window is replaced without a question.
    QPointer<Form4> window = startAndCreate();
    ASSERT_TRUE(window);
    platform.madeCrosswords = {first};
    trigger(window, "menumake");
    settle();
    EXPECT_FALSE(window);
    window = editingWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->document(), first);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Кварцелла 2.0"));
    EXPECT_EQ(window->editorFileName(), QString());
    EXPECT_TRUE(platform.questions.empty());

    // The made crossword is not saved yet: "Отмена" keeps it and the dialog.
    platform.madeCrosswords = {second, third};
    platform.askAnswers = {1, 0};
    trigger(window, "menumake");
    settle();
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.questions[0].buttons, QStringList({"Заменить", "Отмена"}));
    EXPECT_TRUE(platform.questions[0].text.contains(QStringLiteral("не сохранён")));
    ASSERT_NE(editingWindow(), nullptr);
    EXPECT_EQ(editingWindow()->document(), third);

    // Saved work is replaced without a question; the design's "Создать" never asks.
    window = editingWindow();
    platform.fileAnswers = {path(QStringLiteral("сом.crs"))};
    trigger(window, "menusave2");
    platform.madeCrosswords = {first};
    trigger(window, "menumake");
    settle();
    ASSERT_NE(editingWindow(), nullptr);
    EXPECT_EQ(editingWindow()->document(), first);
    trigger(editingWindow(), "menunew");
    settle();
    EXPECT_EQ(platform.questions.size(), 2u);
    ASSERT_NE(editingWindow(), nullptr);
    EXPECT_EQ(editingWindow()->document(), CrosswordDocument());
}
