#pragma once

#include "toolcommand.h"

// pdf FILE.crs [-o OUT.pdf] [--no-answers] [--open]
class PdfCommand : public ToolCommand
{
public:
    QString name() const override;
    QString description() const override;
    QString argumentSyntax() const override;
    QList<QCommandLineOption> options() const override;
    bool needsGui() const override { return true; }
    int run(const QCommandLineParser &parser, ToolStreams streams) override;
};
