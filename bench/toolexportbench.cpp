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

void fullCrosswordToIpuz(benchmark::State &state)
{
    const CrosswordDocument document = BenchCrosswords::full();
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray json = IpuzExport::toJson(document, QStringLiteral("Полный кроссворд"));
        size = json.size();
        benchmark::DoNotOptimize(json);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(fullCrosswordToIpuz)->Unit(benchmark::kMillisecond);

void fullCrosswordToHtml(benchmark::State &state)
{
    const CrosswordDocument document = BenchCrosswords::full();
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray page = HtmlExport::toHtml(document, QStringLiteral("Полный кроссворд"));
        size = page.size();
        benchmark::DoNotOptimize(page);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(fullCrosswordToHtml)->Unit(benchmark::kMillisecond);

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
