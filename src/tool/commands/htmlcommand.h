#pragma once

#include "toolcommand.h"

// html FILE.crs [-o OUT.html]
class HtmlCommand : public ToolCommand
{
public:
    QString name() const override;
    QString description() const override;
    QString argumentSyntax() const override;
    QList<QCommandLineOption> options() const override;
    int run(const QCommandLineParser &parser, ToolStreams streams) override;
};
