#pragma once

#include "toolcommand.h"

// check FILE.crs [--words]
class CheckCommand : public ToolCommand
{
public:
    QString name() const override;
    QString description() const override;
    QString argumentSyntax() const override;
    QList<QCommandLineOption> options() const override;
    int run(const QCommandLineParser &parser, ToolStreams streams) override;
};
