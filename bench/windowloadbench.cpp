// Time to open a full crossword in each main window: read the file, build the
// 798 labels and show the window (offscreen platform).
#include "crosswordfile.h"
#include "designfonts.h"
#include "form1.h"
#include "form4.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

CrosswordDocument fullCrossword()
{
    CrosswordDocument document;
    const QString letters = QStringLiteral("абвгдежзийклмнопрстуфхцчшщъыьэюя");
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        document.setLetter(i, letters.at(i % letters.size()));
        if (i % 5 == 0)
            document.setNumber(i, QString::number(i / 5 + 1));
    }
    QString clues;
    while (clues.size() < 5000)
        clues += QStringLiteral("%1. Домашнее животное, которое ловит мышей.\r\n").arg(clues.size());
    document.setClueText(clues);
    return document;
}

class CrosswordOnDisk
{
public:
    CrosswordOnDisk() : m_path(m_dir.filePath(QStringLiteral("full.crs")))
    {
        CrosswordFile::write(m_path, fullCrossword(), nullptr);
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void BM_SolvingWindowLoad(benchmark::State &state)
{
    CrosswordOnDisk file;
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
    CrosswordOnDisk file;
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
