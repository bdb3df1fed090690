// Writes the benchmarks' full crossword to a .crs file, for the scripts that
// time whole runs of kvarcella-tool and of the crossword page.
#include "benchcrosswords.h"
#include "crosswordfile.h"

#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fullcrossword_file FILE.crs\n");
        return 2;
    }
    CrosswordFileError error;
    if (!CrosswordFile::write(QString::fromLocal8Bit(argv[1]), BenchCrosswords::full(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 2;
    }
    return 0;
}
