#pragma once

#include "files/filesystem.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace kovaldi::cli {

// Exit statuses, in the sysexits spirit where one applies.
enum ExitStatus : int {
    kAllMade = 0,
    kSomeFailed = 1,
    kAllFailed = 2,
    kUsageError = 64,        // EX_USAGE: bad options or inputs, nothing done
    kNoInput = 66,           // EX_NOINPUT: no journal to undo
    kOutputError = 74,       // EX_IOERR: the report or the names could not be written
    kJournalBusy = 75,       // EX_TEMPFAIL: a run holds the journal
    kJournalNotTrusted = 77, // EX_NOPERM: the journal is not the user's alone
    kStopped = 130,          // 128 + SIGINT, as shells report a run ended by Ctrl+C
};

// Texts shared by the sub-commands, translated where a person reads them.
class Texts
{
    Q_DECLARE_TR_FUNCTIONS(Texts)

public:
    static QString Reason(FailureReason reason, const QString& systemText);
    static QString Reason(KeptReason reason, const QString& systemText);
    // The report options every sub-command takes.
    static QCommandLineOption JsonOption();
    static QCommandLineOption QuietOption();
    static QString CannotWrite(bool standardError, const QString& systemText);
};

// A name or path as a terminal may show it: control characters, line and paragraph
// separators, direction marks and bytes that are not UTF-8 become escapes ("\n", "\t",
// "\xHH", "\u{HHHH}"), and "\" becomes "\\", so that every shown text reads back
// exactly and nothing in it can move the cursor or change the terminal.
QString Escaped(QStringView text);

// Writes UTF-8 to standard output, buffered, or to standard error at once. A write that
// fails is remembered: OutputFailed() tells a listing to end, FinishOutput() flushes what
// is buffered and tells whether everything was written.
void Out(QStringView text);
void Err(QStringView text);
bool OutputFailed();
bool FinishOutput();
// The one line that says which stream could not be written, and why.
QString OutputErrorText();
// The one line of an error: the program's name, the text, a line break.
void ErrorLine(const QString& text);

// One JSON document on standard output.
void OutJson(const QJsonObject& document);
// A JSON value as compact text, for a document written piece by piece.
QByteArray CompactJson(const QJsonObject& object);
void OutRaw(const QByteArray& bytes);

bool ErrIsTerminal();

// The number of a text in the number boxes' grammar when it is a whole number from lowest
// to highest: nothing otherwise, with no rounding and no clamping.
std::optional<qint64> WholeNumber(const QString& text, qint64 lowest, qint64 highest);

} // namespace kovaldi::cli
