#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace kovaldi::cli {

// What a sub-command takes on the command line, for its parser and its help.
struct CommandLine
{
    QString description;
    QList<QCommandLineOption> options;
    // The positional argument as the usage line shows it ("[TARGET]"), with its help; none
    // when the command takes none.
    QString positionalName;
    QString positionalSyntax;
    QString positionalHelp;
};

// One sub-command of kovaldi-cli: its word on the command line, what it takes, and its
// work. Help, version and refused arguments are handled once, before any command runs.
class Command
{
public:
    virtual ~Command() = default;
    // The word that names it; empty for the command that runs when no word is given.
    virtual QString Name() const = 0;
    virtual CommandLine Declare() const = 0;
    // Runs with the parsed arguments; returns the exit status.
    virtual int Execute(const QCommandLineParser& parser) = 0;
};

std::unique_ptr<Command> NewMakeCommand();
std::unique_ptr<Command> NewUndoCommand();
std::unique_ptr<Command> NewPresetsCommand();

// kovaldi-cli's arguments after the program's name, from the choice of the command to its
// exit status. The sub-command's word may stand after options ("-q undo"); "--" ends the
// options, so that "-- undo" names a target folder called undo.
int RunCommandLine(const QStringList& arguments);

// The help text of a parser's options as a terminal shows it: columns kept in place where
// a character takes two (East Asian wide and full-width ones), lines wrapped at 80.
QString HelpText(const QString& usage, const CommandLine& line,
                 const QList<QCommandLineOption>& common);

// Columns that a text takes on a terminal.
qsizetype Columns(QStringView text);

} // namespace kovaldi::cli
