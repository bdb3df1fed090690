#pragma once

#include "crossworddocument.h"
#include "testfiles.h"
#include "fakeplatform.h"
#include "program.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class Form1;
class Form2;
class Form3;
class Form4;
class QMainWindow;
class QWidget;

// Lets unloaded windows go and runs what their going queued (the end-of-program
// check among it).
void settle();

// The bytes a .crs file must hold for a document, written out here from the
// file layout itself (Windows-1251, CR LF) so the tests do not lean on the writer.
QByteArray expectedFileBytes(const CrosswordDocument &document);
QByteArray toWindows1251(const QString &text);

void click(QWidget *widget);
void trigger(const QMainWindow *window, const char *menuItem);

// The whole program with a scripted platform and a quit that only counts.
class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString &name) const;
    // Writes a crossword file with the given document and returns its path.
    QString crosswordFile(const QString &name, const CrosswordDocument &document);

    // Paths that no crossword can be read from.
    struct UnreadableCrosswords
    {
        QString missing;
        QString folder;
        QString shortFile;  // 399 records
        QString largeFile;  // past the size limit
        QString utf16File;  // a whole crossword, in UTF-16
        QString binaryFile; // bytes that are no text
        QString loop;       // a symbolic link to itself
        QByteArray shortBytes;
        QStringList all() const
        {
            return {missing, folder, shortFile, largeFile, utf16File, binaryFile, loop};
        }
    };
    UnreadableCrosswords unreadableCrosswords();

    Form3 *startWindow() const;
    Form1 *solvingWindow() const;
    Form4 *editingWindow() const;
    Form2 *aboutWindow() const;

    // Starts the program and presses "открыть", answering the dialog with fileName.
    Form1 *startAndOpen(const QString &fileName);
    // Starts the program and presses "создать".
    Form4 *startAndCreate();

    FakePlatform platform;
    int quits = 0;
    std::unique_ptr<Program> program;
    QTemporaryDir dir;
};
