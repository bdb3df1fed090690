#include "benchcrosswords.h"
#include "crosswordfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray fullCrosswordBytes()
{
    QByteArray bytes;
    CrosswordFile::encode(BenchCrosswords::full(), &bytes, nullptr);
    return bytes;
}

void decodeFromMemory(benchmark::State &state)
{
    const QByteArray bytes = fullCrosswordBytes();
    CrosswordDocument document;
    for (auto _ : state) {
        if (!CrosswordFile::decode(bytes, &document, nullptr)) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(decodeFromMemory)->Unit(benchmark::kMicrosecond);

void encodeToMemory(benchmark::State &state)
{
    const CrosswordDocument document = BenchCrosswords::full();
    QByteArray bytes;
    for (auto _ : state) {
        if (!CrosswordFile::encode(document, &bytes, nullptr)) {
            state.SkipWithError("encode failed");
            break;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(encodeToMemory)->Unit(benchmark::kMicrosecond);

void readFromFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.crs"));
    if (!dir.isValid() || !CrosswordFile::write(path, BenchCrosswords::full(), nullptr)) {
        state.SkipWithError("cannot prepare the file");
        return;
    }
    CrosswordDocument document;
    for (auto _ : state) {
        if (!CrosswordFile::read(path, &document, nullptr)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(document);
    }
}
BENCHMARK(readFromFile)->Unit(benchmark::kMicrosecond);

// Each save goes through a temporary file and a rename, so this is mostly
// file-system cost.
void writeToFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.crs"));
    const CrosswordDocument document = BenchCrosswords::full();
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    for (auto _ : state) {
        if (!CrosswordFile::write(path, document, nullptr)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(writeToFile)->Unit(benchmark::kMicrosecond);

} // namespace
