#pragma once

#include "journal/journallocation.h"
#include "run/runresult.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace kovaldi {

class FileSystem;
class RunWindow;
class SettingsStore;

struct RunOptions
{
    // The folder the run's journal goes in; empty: nowhere.
    QString journalFolder = DefaultJournalFolder();
    // How long the figures for the confirmation may look up existing names.
    std::chrono::milliseconds figuresBudget{1000};
};

// The batch creation run behind the Make button: checks the window's inputs, asks once
// for confirmation (with the figures of what it will do), locks the inputs, creates one
// folder per number from the minimum to the maximum while the status line and the
// progress bar follow, reports the outcome, unlocks and stores the six box texts. A run
// refused or declined before the lock changes nothing. The folders made are recorded in
// memory and in the journal, for an undo; the run itself never removes anything.
//
// A stop asked for while a folder is being made takes effect once it is made; a stop
// asked for during the last folder changes nothing, since nothing is left to stop.
//
// The number boxes normally hold whole decimal numbers. A minimum or maximum that is not
// a number, or lies outside the 32-bit range of the folder numbers, refuses the run with
// the warning about the minimum and the maximum; a digit count that is not a number
// counts as no padding.
RunResult RunBatch(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings,
                   const RunOptions& options = RunOptions());

// The steps a run from the window shares with a run from a list.

// The whole part (rounded toward minus infinity) of a numeric box text; nothing for a text
// that is not numeric.
std::optional<double> WholePart(const QString& text);
// Whether such a part is a folder number: within 32 bits.
bool FitsFolderNumber(const std::optional<double>& value);
// The digit count of the digit box's text; no padding for a text that is not a number.
int DigitCountOf(const QString& text);
// The six box texts, in the order they are stored.
QStringList BoxTexts(const RunWindow& window);
// The outcome message, chosen by what the run did.
void TellRunOutcome(RunWindow& window, const RunResult& result);

} // namespace kovaldi
