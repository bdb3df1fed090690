// Time to open a full crossword in each main window: read the file, build the
// 798 labels and show the window (offscreen platform). The shaped cases fill
// the clue text up to the largest file the reader accepts, in the shapes that
// are hardest to lay out, and also time a click into the clue pane and, in the
// solving window, checking the answers and going back to the clues.
#include "crosswordfile.h"
#include "designfonts.h"
#include "editorfilecommands.h"
#include "editortoolcommands.h"
#include "form1.h"
#include "form4.h"
#include "qtplatform.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

CrosswordDocument gridOnly()
{
    CrosswordDocument document;
    const QString letters = QStringLiteral("абвгдежзийклмнопрстуфхцчшщъыьэюя");
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        document.setLetter(i, letters.at(i % letters.size()));
        if (i % 5 == 0)
            document.setNumber(i, QString::number(i / 5 + 1));
    }
    return document;
}

CrosswordDocument fullCrossword()
{
    CrosswordDocument document = gridOnly();
    QString clues;
    while (clues.size() < 5000)
        clues += QStringLiteral("%1. Домашнее животное, которое ловит мышей.\r\n").arg(clues.size());
    document.setClueText(clues);
    return document;
}

// Repeats piece until the file would reach the reader's limit exactly.
QString clueFilling(const QString &piece)
{
    QByteArray grid;
    CrosswordFile::encode(gridOnly(), &grid, nullptr);
    const qsizetype room = CrosswordFile::MaxFileSize - grid.size();
    QString clues;
    clues.reserve(room);
    while (clues.size() + piece.size() <= room)
        clues += piece;
    while (clues.size() < room)
        clues += u'ю';
    return clues;
}

// The bytes of a 1 MiB crossword file.
using Shape = std::function<QByteArray()>;

QByteArray withClues(const QString &clues)
{
    CrosswordDocument document = gridOnly();
    document.setClueText(clues);
    QByteArray bytes;
    CrosswordFile::encode(document, &bytes, nullptr);
    return bytes;
}

// A file saved as UTF-8 by another text editor: an empty grid, and piece
// repeated up to the reader's limit. Windows-1251 holds neither combining
// accents nor Hebrew.
QByteArray utf8Filling(const QString &piece)
{
    QByteArray bytes;
    CrosswordFile::encode(CrosswordDocument(), &bytes, nullptr);
    bytes.chop(2);
    const QByteArray encoded = piece.toUtf8();
    while (bytes.size() + encoded.size() + 2 <= CrosswordFile::MaxFileSize)
        bytes += encoded;
    return bytes + "\r\n";
}

class CrosswordOnDisk
{
public:
    explicit CrosswordOnDisk(const CrosswordDocument &document)
        : m_path(m_dir.filePath(QStringLiteral("full.crs")))
    {
        CrosswordFileError error;
        if (!CrosswordFile::write(m_path, document, &error))
            qFatal("%s", qPrintable(error.message()));
    }
    explicit CrosswordOnDisk(const QByteArray &bytes)
        : m_path(m_dir.filePath(QStringLiteral("full.crs")))
    {
        QFile out(m_path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(m_path));
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void clickInto(QPlainTextEdit *pane)
{
    QWidget *target = pane->viewport();
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
    QCoreApplication::processEvents();
}

void BM_SolvingWindowLoad(benchmark::State &state)
{
    CrosswordOnDisk file(fullCrossword());
    for (auto _ : state) {
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        Form1 window;
        window.load(file.path(), document);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_SolvingWindowLoad)->Unit(benchmark::kMillisecond);

void BM_EditingWindowLoadAndOpen(benchmark::State &state)
{
    CrosswordOnDisk file(fullCrossword());
    for (auto _ : state) {
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        Form4 window;
        window.load();
        window.showDocument(document);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_EditingWindowLoadAndOpen)->Unit(benchmark::kMillisecond);

// The same with the window's menu commands connected, as the program opens it.
void BM_EditingWindowWithCommands(benchmark::State &state)
{
    CrosswordOnDisk file(fullCrossword());
    QtPlatform platform;
    for (auto _ : state) {
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        Form4 window;
        window.load();
        new EditorFileCommands(window, platform);
        new EditorToolCommands(window, platform);
        window.showDocument(document);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_EditingWindowWithCommands)->Unit(benchmark::kMillisecond);

// Opens a 1 MiB crossword and clicks into its clues, then scrolls to the end
// and clicks again.
void BM_SolvingWindowLargestClues(benchmark::State &state, const Shape &shape)
{
    CrosswordOnDisk file(shape());
    for (auto _ : state) {
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        Form1 window;
        window.load(file.path(), document);
        window.show();
        QCoreApplication::processEvents();
        auto *pane = window.findChild<QPlainTextEdit *>(QStringLiteral("Text3"));
        clickInto(pane);
        pane->moveCursor(QTextCursor::End);
        QCoreApplication::processEvents();
        clickInto(pane);
        benchmark::DoNotOptimize(window.winId());
    }
}

// Checks the answers and goes back to the clues, as "закончить" and "назад"
// do, on a window already showing a 1 MiB crossword.
void BM_SolvingWindowLargestCluesCheckAndBack(benchmark::State &state, const Shape &shape)
{
    CrosswordOnDisk file(shape());
    for (auto _ : state) {
        state.PauseTiming();
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        auto window = std::make_unique<Form1>();
        window->load(file.path(), document);
        window->show();
        QCoreApplication::processEvents();
        auto *finish = window->findChild<QPushButton *>(QStringLiteral("Command2"));
        auto *back = window->findChild<QPushButton *>(QStringLiteral("Command1"));
        state.ResumeTiming();
        finish->click();
        QCoreApplication::processEvents();
        back->click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void BM_EditingWindowLargestClues(benchmark::State &state, const Shape &shape)
{
    CrosswordOnDisk file(shape());
    for (auto _ : state) {
        CrosswordDocument document;
        if (!CrosswordFile::read(file.path(), &document, nullptr))
            state.SkipWithError("cannot read");
        Form4 window;
        window.load();
        window.showDocument(document);
        window.show();
        QCoreApplication::processEvents();
        auto *pane = window.findChild<QPlainTextEdit *>(QStringLiteral("Text3"));
        clickInto(pane);
        pane->moveCursor(QTextCursor::End);
        QCoreApplication::processEvents();
        clickInto(pane);
        benchmark::DoNotOptimize(window.document());
    }
}

const Shape OneUnbrokenLine = [] { return withClues(clueFilling(QStringLiteral("ю"))); };
const Shape OneLineOfWords = [] { return withClues(clueFilling(QStringLiteral("кот "))); };
const Shape NoBreakSpaces = [] { return withClues(clueFilling(QStringLiteral("кот\u00A0"))); };
const Shape SpacesOnly = [] { return withClues(clueFilling(QStringLiteral(" "))); };
const Shape ShortLines = [] { return withClues(clueFilling(QStringLiteral("а\r\n"))); };
const Shape EmptyLines = [] { return withClues(clueFilling(QStringLiteral("\r\n"))); };
const Shape LongWords = [] { return withClues(clueFilling(QString(5000, u'ж') + u' ')); };
const Shape LongLines = [] {
    return withClues(clueFilling(QString(20000, u'ж') + QStringLiteral("\r\n")));
};
const Shape CombiningAccents = [] { return utf8Filling(QStringLiteral("\u0301")); };
const Shape MixedDirections = [] { return utf8Filling(QStringLiteral("\u05D0 a ")); };

#define LARGEST_CLUES_OPEN_ONLY(shape)                                                             \
    BENCHMARK_CAPTURE(BM_SolvingWindowLargestClues, shape, shape)                                  \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1);                                                                           \
    BENCHMARK_CAPTURE(BM_EditingWindowLargestClues, shape, shape)                                  \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)

#define LARGEST_CLUES(shape)                                                                       \
    LARGEST_CLUES_OPEN_ONLY(shape);                                                                \
    BENCHMARK_CAPTURE(BM_SolvingWindowLargestCluesCheckAndBack, shape, shape)                      \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)

LARGEST_CLUES(OneUnbrokenLine);
LARGEST_CLUES(OneLineOfWords);
LARGEST_CLUES(NoBreakSpaces);
LARGEST_CLUES(SpacesOnly);
LARGEST_CLUES(ShortLines);
LARGEST_CLUES(EmptyLines);
LARGEST_CLUES(LongWords);
LARGEST_CLUES(LongLines);
// An empty grid has nothing to check, so these only open.
LARGEST_CLUES_OPEN_ONLY(CombiningAccents);
LARGEST_CLUES_OPEN_ONLY(MixedDirections);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DesignFonts::install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
