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

bool popupShown(const Form4 *window)
{
    return window->keyboard()->isVisible() || window->numberPad()->isVisible();
}

} // namespace

// The editing window's commands that the companion tool also has, through the
// whole program on a scripted platform.
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
    const QString title = window->windowTitle();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    const std::pair<const char *, std::function<int()>> rows[] = {
        {"menumake", [&] { return platform.makeRequests; }},
        {"menucheck", [&] { return int(platform.findingsRequests.size()); }},
        {"menuprint", [&] { return platform.printChoiceRequests; }},
        {"menupage", [&] { return int(platform.fileRequests.size()) - 1; }},
    };
    for (const auto &[item, asked] : rows) {
        SCOPED_TRACE(item);
        click(window->grid()->numberLabel(at(2, 2)));
        ASSERT_TRUE(popupShown(window));
        trigger(window, item);
        settle();
        ASSERT_EQ(editingWindow(), window.data());
        EXPECT_FALSE(popupShown(window));
        EXPECT_EQ(asked(), 1);
        EXPECT_EQ(window->document(), shown);
        EXPECT_EQ(window->windowTitle(), title);
    }
    EXPECT_TRUE(platform.messages.empty() && platform.questions.empty());
    EXPECT_TRUE(platform.printRequests.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), files);
}

TEST_F(EditorToolCommandsTest, PrintingPaintsTheToolsPagesOnThePrinterAndReportsWhatWasNotPrinted)
{
    Form4 *window = editingSaved(QStringLiteral("лес.crs"), cleanCrossword());
    ASSERT_NE(window, nullptr);
    const QString refused = QStringLiteral("принтер «класс» не принял задание: он занят");
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
        {{true, true, false}, refused, {}, "Кроссворд не напечатан: " + refused + "."},
        {{true, true, false}, {}, nowhere,
         QStringLiteral("Кроссворд не напечатан: файл «%1» не удалось записать.").arg(nowhere)},
    };
    for (int row = 0; row < int(std::size(rows)); ++row) {
        SCOPED_TRACE(row);
        const auto &r = rows[row];
        const QString printed = r.file.isEmpty() ? path(QStringLiteral("%1.pdf").arg(row)) : r.file;
        platform.printChoices = {r.choice};
        platform.printFiles = {printed};
        platform.printRefusal = r.refusal;
        platform.messages.clear();
        trigger(window, "menuprint");
        const FakePlatform::PrintRequest &request = platform.printRequests.back();
        EXPECT_EQ(request.preview, r.choice.preview);
        EXPECT_EQ(request.docName, QStringLiteral("лес"));
        EXPECT_TRUE(request.pageSize.id() == QPageSize::A4 && request.fullPage);
        EXPECT_EQ(request.resolution, 1200);
        ASSERT_EQ(platform.messages.size(), r.message.isEmpty() ? 0u : 1u);
        if (!r.message.isEmpty()) {
            EXPECT_EQ(platform.messages.front().text, r.message);
            continue;
        }
        PdfExport::Options options{QStringLiteral("лес"), r.choice.worksheet, r.choice.answers, {}};
        const QString tool = path(QStringLiteral("tool%1.pdf").arg(row));
        putFileBytes(tool, PdfExport::render(cleanCrossword(), options));
        const QList<QByteArray> pages = pageImages(printed);
        EXPECT_EQ(pages.size(), r.choice.worksheet + r.choice.answers);
        EXPECT_TRUE(pages == pageImages(tool)) << "the printed pages differ from the PDF's";
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
        {findingAt(at(8, 8)), true, Goes::Pad, at(8, 8)}, // hidden: the whole grid comes back
        {findingAt(at(8, 0)), true, Goes::Keyboard, at(8, 0)},
        {findingAt(-1, 8), false, Goes::Clue, -1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.chosen);
        if (row.preview)
            click(window->findChild<QPushButton *>(QStringLiteral("Command2")));
        platform.findingAnswers = {row.chosen};
        trigger(window, "menucheck");
        const QList<Platform::Finding> &listed = platform.findingsRequests.back().findings;
        ASSERT_EQ(listed.size(), check.findings().size());
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const CrosswordCheck::Finding &finding = check.findings()[i];
            EXPECT_EQ(listed[i].text, finding.text);
            EXPECT_EQ(listed[i].place,
                      finding.cell >= 0 ? CrosswordCheck::cellPlace(finding.cell)
                                        : QStringLiteral("вопросы, строка %1").arg(finding.clueLine));
        }
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
        int ask; // of "Открыть в браузере", "Закрыть"
        bool opens;
        QString message; // its start; "" for none
    } rows[] = {
        {page, 0, true, {}},
        {page, 1, true, {}},
        {page, 0, false, QStringLiteral("Страницу «%1» не удалось открыть").arg(page)},
        {crossword, -1, false, QStringLiteral("Файл «%1» — это сам кроссворд").arg(crossword)},
        {nowhere, -1, false, QStringLiteral("Не удалось сохранить файл «%1»").arg(nowhere)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.answer.toStdString());
        platform.messages.clear();
        platform.questions.clear();
        platform.openedDocuments.clear();
        platform.fileAnswers = {row.answer};
        platform.askAnswers = {row.ask};
        platform.openDocumentResult = row.opens;
        trigger(window, "menupage");
        const Platform::FileDialogRequest &request = platform.fileRequests.back();
        EXPECT_TRUE(request.mode == Platform::FileDialogRequest::Mode::Save &&
                    request.confirmOverwrite);
        EXPECT_EQ(request.filter, QStringLiteral("Веб-страница (*.html)"));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("html"));
        EXPECT_EQ(request.initialFileName, page);
        ASSERT_EQ(platform.messages.size(), row.message.isEmpty() ? 0u : 1u);
        if (!row.message.isEmpty()) {
            EXPECT_TRUE(platform.messages[0].text.startsWith(row.message));
        }
        ASSERT_EQ(platform.questions.size(), row.ask >= 0 ? 1u : 0u);
        if (row.ask >= 0) {
            EXPECT_TRUE(platform.questions[0].text.startsWith(
                QStringLiteral("Страница для учеников записана в файл «%1».").arg(page)));
            EXPECT_EQ(platform.questions[0].buttons,
                      QStringList({"Открыть в браузере", "Закрыть"}));
        }
        EXPECT_EQ(platform.openedDocuments, row.ask == 0 ? QStringList{page} : QStringList{});
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
        {{made[0]}, {}, false, 0, made[0]},                  // an empty window: no question
        {{made[1], made[2]}, {1, 0}, false, 2, made[2]},     // "Отмена" keeps the dialog up
        {{made[0]}, {}, true, 2, made[0]},                   // saved work: no question
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
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Кварцелла 2.0"));
        EXPECT_EQ(window->editorFileName(), QString());
        ASSERT_EQ(platform.questions.size(), row.questions);
    }
    EXPECT_EQ(platform.questions[0].buttons, QStringList({"Заменить", "Отмена"}));
    EXPECT_TRUE(platform.questions[0].text.contains(QStringLiteral("не сохранён")));
    trigger(window, "menunew"); // the design's commands still ask nothing
    settle();
    EXPECT_EQ(platform.questions.size(), 2u);
}
