#include "editortoolcommands.h"

#include "crosswordcheck.h"
#include "crosswordfileerror.h"
#include "form4.h"
#include "htmlexport.h"
#include "mainmenus.h"
#include "pdfexport.h"
#include "platform.h"
#include "safefilewriter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

#include <optional>

const QString EditorToolCommands::MessageTitle = QStringLiteral("Кварцелла 2.0");

namespace {

const QString CrosswordSuffix = QStringLiteral(".crs");

QString withoutCrosswordSuffix(const QString &name)
{
    return name.endsWith(CrosswordSuffix, Qt::CaseInsensitive) ? name.chopped(4) : name;
}

} // namespace

EditorToolCommands::EditorToolCommands(Form4 &window, Platform &platform)
    : QObject(&window), m_window(window), m_platform(platform)
{
    const struct
    {
        const char *name;
        void (EditorToolCommands::*command)();
    } items[] = {{"menumake", &EditorToolCommands::make},
                 {"menucheck", &EditorToolCommands::check},
                 {"menuprint", &EditorToolCommands::print},
                 {"menupage", &EditorToolCommands::writePage}};
    for (const auto &item : items) {
        if (QAction *action = MainMenus::action(&window, QString::fromLatin1(item.name)))
            connect(action, &QAction::triggered, this, item.command);
    }
}

QString EditorToolCommands::crosswordTitle() const
{
    return withoutCrosswordSuffix(QFileInfo(m_window.editorFileName()).fileName());
}

QString EditorToolCommands::proposedPagePath() const
{
    if (m_window.editorFileName().isEmpty())
        return QStringLiteral("кроссворд.html");
    return withoutCrosswordSuffix(m_window.editorFileName()) + QStringLiteral(".html");
}

void EditorToolCommands::make()
{
    m_window.hidePopups();
    std::optional<CrosswordDocument> made;
    m_platform.makeCrossword(&m_window, [this, &made](QWidget *dialog,
                                                       const CrosswordDocument &crossword) {
        if (m_window.hasUnsavedChanges() &&
            m_platform.ask(dialog, MessageTitle,
                           QStringLiteral("В редакторе кроссворд, который не сохранён. Заменить "
                                          "его составленным? Несохранённое будет потеряно."),
                           {QStringLiteral("Заменить"), QStringLiteral("Отмена")}) != 0)
            return false;
        made = crossword;
        return true;
    });
    if (made)
        emit newCrosswordRequested(*made);
}

void EditorToolCommands::check()
{
    m_window.hidePopups();
    const CrosswordCheck check(m_window.document());
    QList<Platform::Finding> findings;
    for (const CrosswordCheck::Finding &finding : check.findings()) {
        findings.append({finding.cell >= 0
                             ? CrosswordCheck::cellPlace(finding.cell)
                             : QStringLiteral("вопросы, строка %1").arg(finding.clueLine),
                         finding.text});
    }
    const std::optional<int> chosen = m_platform.chooseFinding(&m_window, findings, check.notes());
    if (!chosen || *chosen < 0 || *chosen >= findings.size())
        return;
    const CrosswordCheck::Finding &finding = check.findings()[*chosen];
    if (finding.cell >= 0)
        m_window.selectCell(finding.cell, finding.number);
    else
        m_window.selectClueLine(finding.clueLine);
}

void EditorToolCommands::print()
{
    m_window.hidePopups();
    const std::optional<Platform::PrintChoice> choice = m_platform.choosePrint(&m_window);
    if (!choice)
        return;
    const CrosswordDocument crossword = m_window.document();
    PdfExport::Options options;
    options.title = crosswordTitle();
    options.worksheet = choice->worksheet;
    options.answers = choice->answers;

    // Painted as the PDF is: A4 from the paper's corner, at the PDF's resolution.
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(options.title.isEmpty() ? QStringLiteral("Кроссворд") : options.title);
    printer.setCreator(MessageTitle);
    const QString failure = m_platform.print(
        &m_window, &printer, choice->preview,
        [&crossword, &options](QPrinter *device) { return PdfExport::paint(device, crossword, options); });
    if (!failure.isEmpty())
        m_platform.showMessage(&m_window, MessageTitle,
                               QStringLiteral("Кроссворд не напечатан: %1.").arg(failure));
}

void EditorToolCommands::writePage()
{
    m_window.hidePopups();
    Platform::FileDialogRequest request;
    request.mode = Platform::FileDialogRequest::Mode::Save;
    request.confirmOverwrite = true;
    request.filter = QStringLiteral("Веб-страница (*.html)");
    request.defaultSuffix = QStringLiteral("html");
    request.initialFileName = proposedPagePath();
    const std::optional<QString> chosen = m_platform.fileDialog(&m_window, request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    // The page written over the crossword itself would lose the crossword.
    const QFileInfo page(path);
    const QFileInfo crossword(m_window.editorFileName());
    if (!m_window.editorFileName().isEmpty() && page.exists() &&
        page.canonicalFilePath() == crossword.canonicalFilePath()) {
        m_platform.showMessage(&m_window, MessageTitle,
                               QStringLiteral("Файл «%1» — это сам кроссворд, страница на его "
                                              "месте уничтожила бы кроссворд. Выберите другое "
                                              "имя.")
                                   .arg(path));
        return;
    }

    QString title = crosswordTitle();
    if (title.isEmpty())
        title = page.completeBaseName();
    const QByteArray bytes = HtmlExport::toHtml(m_window.document(), title);
    const SafeFileWriter::Result result = SafeFileWriter::write(path, bytes);
    if (result.outcome != SafeFileWriter::Outcome::Written) {
        const CrosswordFileError error =
            result.outcome == SafeFileWriter::Outcome::PartlyWritten
                ? CrosswordFileError::partlyWritten(path, result.reason())
                : CrosswordFileError::cannotWrite(path, result.reason(), result.existed);
        m_platform.showMessage(&m_window, MessageTitle, error.message());
        return;
    }

    const int answer = m_platform.ask(
        &m_window, MessageTitle,
        QStringLiteral("Страница для учеников записана в файл «%1».\n\n"
                       "Ученики решают на ней кроссворд в любом браузере — на компьютере, "
                       "планшете или телефоне, и интернет для этого не нужен. Отправьте им этот "
                       "файл (по почте или в школьном чате) или выложите его на сайт школы или "
                       "на учебную платформу класса.")
            .arg(QDir::toNativeSeparators(path)),
        {QStringLiteral("Открыть в браузере"), QStringLiteral("Закрыть")});
    if (answer == 0 && !m_platform.openDocument(path))
        m_platform.showMessage(&m_window, MessageTitle,
                               QStringLiteral("Страницу «%1» не удалось открыть: на компьютере "
                                              "не нашлось программы для веб-страниц.")
                                   .arg(QDir::toNativeSeparators(path)));
}
