#include "shelltesting.h"

#include "crosswordfile.h"
#include "filenames.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "mainmenus.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

void settle()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QByteArray toWindows1251(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            bytes += char(u);
        else if (u >= u'А' && u <= u'я')
            bytes += char(0xC0 + (u - u'А'));
        else if (u == u'ё')
            bytes += char(0xB8);
        else if (u == u'Ё')
            bytes += char(0xA8);
        else if (u == u'«')
            bytes += char(0xAB);
        else if (u == u'»')
            bytes += char(0xBB);
        else if (u == u'—')
            bytes += char(0x97);
        else
            ADD_FAILURE() << "no Windows-1251 byte in the test table for U+" << std::hex << int(u);
    }
    return bytes;
}

QByteArray expectedFileBytes(const CrosswordDocument &document)
{
    QByteArray bytes;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        bytes += '"' + toWindows1251(document.letter(i)) + "\",\"" +
                 toWindows1251(document.number(i)) + "\"\r\n";
    }
    return bytes + toWindows1251(document.clueText()) + "\r\n";
}

void click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void trigger(const QMainWindow *window, const char *menuItem)
{
    ASSERT_NE(window, nullptr);
    QAction *action = MainMenus::action(window, QString::fromLatin1(menuItem));
    ASSERT_NE(action, nullptr) << menuItem;
    action->trigger();
}

void ProgramTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    // The program decides when it ends, as main() arranges it.
    QApplication::setQuitOnLastWindowClosed(false);
    currentFileName().clear();
    program = std::make_unique<Program>(platform, [this] { ++quits; });
}

void ProgramTest::TearDown()
{
    program.reset();
    settle();
    currentFileName().clear();
}

QString ProgramTest::path(const QString &name) const
{
    return dir.filePath(name);
}

QString ProgramTest::crosswordFile(const QString &name, const CrosswordDocument &document)
{
    const QString file = path(name);
    putFileBytes(file, expectedFileBytes(document));
    return file;
}

ProgramTest::UnreadableCrosswords ProgramTest::unreadableCrosswords()
{
    UnreadableCrosswords files;
    files.missing = path(QStringLiteral("missing.crs"));
    files.folder = path(QStringLiteral("folder.crs"));
    EXPECT_TRUE(QDir().mkdir(files.folder));
    files.shortBytes = expectedFileBytes(CrosswordDocument());
    files.shortBytes.truncate(399 * 7);
    files.shortFile = path(QStringLiteral("short.crs"));
    putFileBytes(files.shortFile, files.shortBytes);
    files.largeFile = path(QStringLiteral("large.crs"));
    putFileBytes(files.largeFile, QByteArray(CrosswordFile::MaxFileSize + 1, '"'));
    files.utf16File = path(QStringLiteral("юникод.crs"));
    putFileBytes(files.utf16File,
                 QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                     .encode(QString::fromLatin1(expectedFileBytes(CrosswordDocument()))));
    files.binaryFile = path(QStringLiteral("рисунок.crs"));
    putFileBytes(files.binaryFile, QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16).repeated(500));
    files.loop = path(QStringLiteral("петля.crs"));
    EXPECT_TRUE(QFile::link(files.loop, files.loop));
    return files;
}

Form3 *ProgramTest::startWindow() const
{
    return program->windows().startWindow();
}

Form1 *ProgramTest::solvingWindow() const
{
    return program->windows().solvingWindow();
}

Form4 *ProgramTest::editingWindow() const
{
    return program->windows().editingWindow();
}

Form2 *ProgramTest::aboutWindow() const
{
    return program->windows().aboutWindow();
}

Form1 *ProgramTest::startAndOpen(const QString &fileName)
{
    program->start();
    platform.fileAnswers.push_back(fileName);
    if (startWindow())
        click(startWindow()->openButton());
    settle();
    return solvingWindow();
}

Form4 *ProgramTest::startAndCreate()
{
    program->start();
    if (startWindow())
        click(startWindow()->createButton());
    settle();
    return editingWindow();
}
