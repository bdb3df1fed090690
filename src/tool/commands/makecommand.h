#pragma once

#include "toolcommand.h"

// make WORDS.txt -o OUT.crs [--seed N] [--tries N]
//
// Exit 0 when every word of the list is in the crossword; 1 when the crossword
// was written but some lines were left out or some words found no place, or
// when the list holds no usable word (nothing is written then); 2 when a file
// cannot be read or written or the command line is wrong.
class MakeCommand : public ToolCommand
{
public:
    QString name() const override;
    QString description() const override;
    QString argumentSyntax() const override;
    QList<QCommandLineOption> options() const override;
    int run(const QCommandLineParser &parser, ToolStreams streams) override;
};
