// Making a crossword from each of the three word lists with the default number
// of tries and seed: the time, the share of words placed and the crossings per
// placed word; and the 60-word list with other numbers of tries.
#include "crosswordmaker.h"
#include "wordlist.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdlib>

namespace {

QList<CrosswordMaker::Word> wordsOf(const char *fileName)
{
    WordList list;
    QString error;
    const QString path = QStringLiteral(WORD_LISTS_DIR "/") + QString::fromLatin1(fileName);
    if (!WordList::read(path, &list, &error) || !list.problems().isEmpty())
        std::abort();
    QList<CrosswordMaker::Word> words;
    for (const WordList::Entry &entry : list.entries())
        words.append({entry.answer, entry.clue});
    return words;
}

void makeFrom(benchmark::State &state, const char *fileName)
{
    const CrosswordMaker maker(wordsOf(fileName));
    // The default number of tries unless the benchmark names another.
    const int tries = state.range(0) > 0 ? int(state.range(0)) : CrosswordMaker::DefaultTries;
    CrosswordMaker::Result result;
    for (auto _ : state) {
        result = maker.make(1, tries);
        benchmark::DoNotOptimize(result);
    }
    const double placed = double(result.placed.size());
    state.counters["words"] = double(maker.words().size());
    state.counters["placed_%"] = 100.0 * placed / double(maker.words().size());
    state.counters["crossings_per_word"] = placed > 0 ? result.crossings / placed : 0.0;
}

} // namespace

BENCHMARK_CAPTURE(makeFrom, words20, "words20.txt")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(makeFrom, words40, "words40.txt")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(makeFrom, words60, "words60.txt")->Arg(0)->Unit(benchmark::kMillisecond);
// What the default is chosen from: the 60-word list must stay well under half
// a second for a whole run, start-up included.
BENCHMARK_CAPTURE(makeFrom, words60_tries, "words60.txt")
    ->Arg(500)
    ->Arg(1000)
    ->Arg(1500)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
