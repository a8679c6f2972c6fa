#pragma once

#include "files/filesystem.h"
#include "run/messagekind.h"

#include <QString>

namespace kovaldi {

class FailureLog;
struct RunFigures;
struct RunResult;
struct UndoReport;

// The Japanese texts that the run's messages carry beneath the design's own: what a run
// is about to do, what it did and why, and what an undo did. Counts are written with
// thousands separators.

// A name as the messages and the status line show it: a long one (a header of a megabyte
// from the settings file) with its middle left out, so that it fits the screen and is laid
// out at once. The run itself always has the whole name.
// The preview takes a longer one: every name a file system can take shows whole there.
QString NameForDisplay(const QString& name, qsizetype longest = 80);

// Beneath the confirmation: target, count, first and last name, the names taken already;
// each figure and its unit kept on one line.
QString ConfirmationDetails(const RunFigures& figures);

// Beneath the outcome: how many folders were made, failed and, after a stop, left.
QString OutcomeCounts(const RunResult& result);
// Behind the outcome's details button: the failures by reason, each with its count and
// first names. Empty when nothing failed.
QString FailureDetails(const FailureLog& failures);

QString FailureReasonText(FailureReason reason, const QString& systemText);
QString KeptReasonText(KeptReason reason, const QString& systemText);

// The undo's question, for the folders a run made.
QString UndoQuestion(qint64 folders);
QString UndoQuestionDetails();

// Why an undo found no target folder to remove anything in; empty for Opened.
QString TargetStateText(TargetState state, const QString& systemText);

// What an undo did, as a message; a folder already gone is counted apart from those kept.
struct UndoMessage
{
    QString text;
    MessageKind kind = MessageKind::Information;
    QString informativeText;
    QString detailedText; // the folders kept, by reason
};
UndoMessage DescribeUndo(const UndoReport& report);

} // namespace kovaldi
