#include "editorfilecommands.h"

#include "cluepane.h"
#include "crosswordfile.h"
#include "dailypassword.h"
#include "form4.h"
#include "mainmenus.h"
#include "platform.h"

#include <QAction>
#include <QLocale>

const QString EditorFileCommands::MessageTitle = QStringLiteral("Кварцелла 2.0");

EditorFileCommands::EditorFileCommands(Form4 &window, Platform &platform)
    : QObject(&window), m_window(window), m_platform(platform), m_dialog(platform, &window)
{
    const struct
    {
        const char *name;
        void (EditorFileCommands::*command)();
    } items[] = {{"menuopen", &EditorFileCommands::open},
                 {"menunew", &EditorFileCommands::newCrossword},
                 {"menusave1", &EditorFileCommands::save},
                 {"menusave2", &EditorFileCommands::saveAs}};
    for (const auto &item : items) {
        if (QAction *action = MainMenus::action(&window, QString::fromLatin1(item.name)))
            connect(action, &QAction::triggered, this, item.command);
    }
}

void EditorFileCommands::newCrossword()
{
    m_window.hidePopups();
    emit reloadRequested();
}

void EditorFileCommands::open()
{
    m_window.hidePopups();
    const QString password = DailyPassword::forDate(m_platform.today(), QLocale::system());
    const QString typed = m_platform.inputBox(&m_window, QStringLiteral("введите пароль"),
                                              QStringLiteral("открытие кроссворда"),
                                              TwipPoint{3800, 5000});
    if (typed.isEmpty() || typed != password) {
        // A refused password loads nothing; the title is rewritten all the same.
        m_window.showFileNameInTitle();
        return;
    }
    m_dialog.setFlags(CommonDialog::OpenFlags);
    if (!m_dialog.showOpen())
        return;

    // Read first: a file that fails leaves the window exactly as it was, so a
    // later Save cannot write a half-loaded crossword over it.
    const QString path = m_dialog.fileName();
    CrosswordDocument document;
    CrosswordFileError error;
    if (!CrosswordFile::read(path, &document, &error)) {
        m_platform.showMessage(&m_window, MessageTitle, error.message());
        return;
    }
    m_window.cluePane()->setText(QString());
    m_window.setClueFontSize(12);
    m_window.setEditorFileName(path);
    m_window.showDocument(document);
    m_window.markSaved();
    m_window.showFileNameInTitle();
}

void EditorFileCommands::save()
{
    m_window.hidePopups();
    if (m_window.editorFileName().isEmpty()) {
        saveAs();
        return;
    }
    writeTo(m_window.editorFileName());
}

void EditorFileCommands::saveAs()
{
    m_window.hidePopups();
    m_dialog.setFlags(CommonDialog::SaveFlags);
    if (!m_dialog.showSave())
        return;
    const QString path = m_dialog.fileName();
    if (!writeTo(path))
        return;
    m_window.setEditorFileName(path);
    m_window.showFileNameInTitle();
}

bool EditorFileCommands::writeTo(const QString &path)
{
    CrosswordFileError error;
    if (CrosswordFile::write(path, m_window.document(), &error)) {
        m_window.markSaved();
        return true;
    }
    m_platform.showMessage(&m_window, MessageTitle, error.message());
    return false;
}
