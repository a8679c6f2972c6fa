#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

namespace kovaldi {

class FileSystem;

// The window program's command line: kovaldi [OPTIONS] [FOLDER]. Qt's own options
// (-platform, -style, ...) are taken out by the application before it is read.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // The status of a command line the program refuses (sysexits' EX_USAGE).
    static constexpr int kUsageError = 64;

    // Whether the arguments ask for the help or the version, which the program answers
    // before anything needs a display.
    static bool AsksForInformation(int argc, char** argv);
    // Shows the help, or the version when that is asked for alone; the status to end with.
    static int AnswerInformation(const QStringList& arguments);

    // What the arguments ask for: an exit status (the help or the version shown, or an
    // option refused in one line on standard error), or else the target to start on, if
    // any. What is ignored (a remote address, the arguments after the first) is said in
    // one line on standard error; the window then starts on the stored target.
    struct Start
    {
        std::optional<int> exitStatus;
        std::optional<QString> target;
    };
    static Start Read(const QStringList& arguments, const QString& currentFolder,
                      const FileSystem& files);

    // The current folder, byte for byte.
    static QString CurrentFolder();
};

} // namespace kovaldi
