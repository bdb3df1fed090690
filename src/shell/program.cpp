#include "program.h"

#include "accessiblefactory.h"
#include "cluefontcycle.h"
#include "commondialog.h"
#include "crosswordfile.h"
#include "designfonts.h"
#include "editorfilecommands.h"
#include "editortoolcommands.h"
#include "filenames.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "helpfile.h"
#include "mainmenus.h"
#include "platform.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace {

const QString MessageTitle = QStringLiteral("Кварцелла 2.0");
constexpr float StartAwayLeft = 3000;
constexpr float StartAwayTop = 2000;

} // namespace

Program::Program(Platform &platform, std::function<void()> quit)
    : m_platform(platform),
      m_quit(quit ? std::move(quit) : [] { QCoreApplication::exit(0); }),
      m_windows([this] { m_quit(); })
{
    // Before the first window is shown, so that a screen reader meets it as a window.
    AccessibleFactory::install();
}

Program::~Program() = default;

void Program::centre(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

Form3 *Program::loadStart()
{
    auto *start = new Form3;
    m_windows.adopt(start);
    connect(start, &Form3::openClicked, this, &Program::openFromStart);
    connect(start, &Form3::createClicked, this, &Program::createFromStart);
    centre(start);
    return start;
}

void Program::showStart(Form3 *start)
{
    start->show();
    start->openButton()->setFocus();
}

void Program::start()
{
    showStart(loadStart());
}

void Program::startWith(const QString &fileName, const QString &problem)
{
    // The start window is loaded but not shown: a crossword that opens
    // replaces it before it is ever seen.
    Form3 *start = loadStart();
    CrosswordFileError error;
    if (problem.isEmpty() && replaceStart(start, fileName, &error))
        return;
    if (!problem.isEmpty())
        error = CrosswordFileError::unreadable(fileName, problem);
    showStart(start);
    m_platform.showMessage(start, MessageTitle, error.message());
}

bool Program::replaceStart(Form3 *start, const QString &fileName, CrosswordFileError *error)
{
    CrosswordDocument document;
    if (!CrosswordFile::read(fileName, &document, error))
        return false;
    currentFileName() = fileName;
    m_windows.unload(start);
    showSolving(currentFileName(), document);
    return true;
}

bool Program::readCrossword(QWidget *owner, const QString &path, CrosswordDocument *document)
{
    CrosswordFileError error;
    if (CrosswordFile::read(path, document, &error))
        return true;
    m_platform.showMessage(owner, MessageTitle, error.message());
    return false;
}

void Program::openFromStart()
{
    Form3 *start = m_windows.startWindow();
    if (!start)
        return;
    start->hide();
    start->moveByTwips(-StartAwayLeft, 0);
    start->moveByTwips(0, -StartAwayTop);

    CommonDialog dialog(m_platform, start);
    dialog.setFlags(CommonDialog::OpenFlags);
    const bool chosen = dialog.showOpen();
    CrosswordFileError error;
    // The file is read while the start window still exists, so a crossword
    // that cannot be read brings the start window back as after a cancel.
    if (chosen && replaceStart(start, dialog.fileName(), &error))
        return;
    start->moveByTwips(StartAwayLeft, 0);
    start->moveByTwips(0, StartAwayTop);
    start->show();
    // Said over the start window at its place, not over an empty screen.
    if (chosen)
        m_platform.showMessage(start, MessageTitle, error.message());
}

void Program::createFromStart()
{
    if (Form3 *start = m_windows.startWindow())
        m_windows.unload(start);
    showEditing();
}

void Program::endProgram()
{
    m_quit();
}

void Program::showSolving(const QString &fileName, const CrosswordDocument &document)
{
    auto *window = new Form1;
    window->load(fileName, document);
    m_windows.adopt(window);
    connect(MainMenus::action(window, QStringLiteral("menuopen")), &QAction::triggered, this,
            &Program::openCrossword);
    connect(window, &Form1::aboutRequested, this, [this, window] { showAbout(window); });
    connectSharedMenus(window);
    window->adjustSize();
    centre(window);
    window->show();
}

void Program::showEditing(const CrosswordDocument *crossword)
{
    auto *window = new Form4;
    window->load();
    if (crossword)
        window->showDocument(*crossword);
    m_windows.adopt(window);
    auto *commands = new EditorFileCommands(*window, m_platform);
    connect(commands, &EditorFileCommands::reloadRequested, this, [this] { showEditing(); },
            Qt::QueuedConnection);
    // A made crossword comes in as "Создать" would bring an empty one.
    auto *tools = new EditorToolCommands(*window, m_platform);
    connect(tools, &EditorToolCommands::newCrosswordRequested, this,
            [this](const CrosswordDocument &made) {
                QMetaObject::invokeMethod(
                    this, [this, made] { showEditing(&made); }, Qt::QueuedConnection);
            });
    connectSharedMenus(window);
    window->adjustSize();
    centre(window);
    window->show();
}

void Program::openCrossword()
{
    Form1 *window = m_windows.solvingWindow();
    if (!window)
        return;
    window->hideKeyboard();
    CommonDialog dialog(m_platform, window);
    dialog.setFlags(CommonDialog::OpenFlags);
    if (!dialog.showOpen())
        return;
    CrosswordDocument document;
    // Read before unloading: on failure the window stays exactly as it was.
    if (!readCrossword(window, dialog.fileName(), &document))
        return;
    currentFileName() = dialog.fileName();
    showSolving(currentFileName(), document);
}

void Program::connectSharedMenus(QMainWindow *window)
{
    connect(MainMenus::action(window, QStringLiteral("menuend")), &QAction::triggered, this,
            &Program::endProgram);
    connect(MainMenus::action(window, QStringLiteral("menufont")), &QAction::triggered, this,
            [this, window] { cycleClueFontSize(window); });
    connect(MainMenus::action(window, QStringLiteral("menuhelp1")), &QAction::triggered, this,
            [this, window] { openHelp(window); });
    connect(MainMenus::action(window, QStringLiteral("menuhelp2")), &QAction::triggered, this,
            [this, window] { showAbout(window); });
}

void Program::hidePopups(QMainWindow *window)
{
    if (auto *solving = qobject_cast<Form1 *>(window))
        solving->hideKeyboard();
    else if (auto *editing = qobject_cast<Form4 *>(window))
        editing->hidePopups();
}

void Program::cycleClueFontSize(QMainWindow *window)
{
    hidePopups(window);
    if (auto *solving = qobject_cast<Form1 *>(window)) {
        if (const auto size = ClueFontCycle::next(solving->clueFontSize()))
            solving->setClueFontSize(*size);
    } else if (auto *editing = qobject_cast<Form4 *>(window)) {
        if (const auto size = ClueFontCycle::next(editing->clueFontSize()))
            editing->setClueFontSize(*size);
    }
}

void Program::openHelp(QMainWindow *window)
{
    hidePopups(window);
    // The outcome is deliberately ignored: a missing help file is not an error.
    m_platform.openDocument(
        HelpFile::locate(QDir::currentPath(), QCoreApplication::applicationDirPath()));
}

void Program::showAbout(QMainWindow *window)
{
    if (window)
        hidePopups(window);
    Form2 *about = m_windows.aboutWindow();
    if (!about) {
        about = new Form2;
        about->load();
        m_windows.adopt(about);
        // Beside the window it was asked from, not over its grid's centre.
        if (window)
            about->move(window->pos() + QPoint(60, 60));
    }
    about->show();
    about->raise();
    about->activateWindow();
}
