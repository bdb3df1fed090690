// The companion tool's exports of the largest crossword a teacher makes: every
// cell lettered, a number on every fifth, about 5 KB of clues in the usual form.
#include "benchcrosswords.h"
#include "crosswordcheck.h"
#include "htmlexport.h"
#include "ipuzexport.h"
#include "pdfexport.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

void fullCrosswordToPdf(benchmark::State &state)
{
    const CrosswordDocument document = BenchCrosswords::full();
    PdfExport::Options options;
    options.title = QStringLiteral("Полный кроссворд");
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray pdf = PdfExport::render(document, options);
        size = pdf.size();
        benchmark::DoNotOptimize(pdf);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(fullCrosswordToPdf)->Unit(benchmark::kMillisecond);

// The exports that make one file from the crossword and its title.
void fullCrosswordExport(benchmark::State &state,
                         QByteArray (*render)(const CrosswordDocument &, const QString &))
{
    const CrosswordDocument document = BenchCrosswords::full();
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray bytes = render(document, QStringLiteral("Полный кроссворд"));
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK_CAPTURE(fullCrosswordExport, ToIpuz, IpuzExport::toJson)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(fullCrosswordExport, ToHtml, HtmlExport::toHtml)->Unit(benchmark::kMillisecond);

void fullCrosswordCheck(benchmark::State &state)
{
    const CrosswordDocument document = BenchCrosswords::full();
    for (auto _ : state) {
        const CrosswordCheck check(document);
        benchmark::DoNotOptimize(check.problems());
    }
}
BENCHMARK(fullCrosswordCheck)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
