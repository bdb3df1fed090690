#pragma once

#include "toolcommand.h"

#include <QStringList>

#include <memory>
#include <vector>

// Chooses the command from the first argument, parses the rest with its
// options and runs it. Also writes the Russian help texts.
class ToolDispatch
{
public:
    void add(std::unique_ptr<ToolCommand> command);

    // The command named by arguments (program name first), or nullptr.
    ToolCommand *commandFor(const QStringList &arguments) const;

    // arguments as QCoreApplication::arguments(): the program name first.
    // Returns the exit status.
    int run(const QStringList &arguments, ToolStreams streams) const;

    QString programHelp() const;
    QString commandHelp(const ToolCommand &command) const;

private:
    std::vector<std::unique_ptr<ToolCommand>> m_commands;
};
