#include "crosswordfile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The largest crossword a teacher makes: every cell lettered, a number on
// every fifth, and about 5 KB of clues.
CrosswordDocument fullCrossword()
{
    CrosswordDocument document;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        document.setLetter(i, QString(QChar(u'а' + (i * 7) % 32)));
        if (i % 5 == 0)
            document.setNumber(i, QString::number(i / 5 + 1));
    }
    const QString words[] = {QStringLiteral("домашнее"), QStringLiteral("животное"),
                             QStringLiteral("большая"),  QStringLiteral("река"),
                             QStringLiteral("в"),        QStringLiteral("сибири"),
                             QStringLiteral("столица"),  QStringLiteral("России")};
    QString clues = QStringLiteral("По горизонтали:");
    for (int line = 1; clues.size() < 5000; ++line) {
        clues += QStringLiteral("\r\n") + QString::number(line) + QStringLiteral(".");
        for (int w = 0; w < 6; ++w)
            clues += u' ' + words[(line + w) % 8];
    }
    document.setClueText(clues);
    return document;
}

QByteArray fullCrosswordBytes()
{
    QByteArray bytes;
    CrosswordFile::encode(fullCrossword(), &bytes, nullptr);
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
    const CrosswordDocument document = fullCrossword();
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
    if (!dir.isValid() || !CrosswordFile::write(path, fullCrossword(), nullptr)) {
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
    const CrosswordDocument document = fullCrossword();
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
