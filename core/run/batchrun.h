#pragma once

namespace kovaldi {

class FileSystem;
class RunWindow;
class SettingsStore;

// The batch creation run behind the Make button: checks the window's inputs, asks once
// for confirmation, locks the inputs, creates one folder per number from the minimum to
// the maximum while the status line and the progress bar follow, reports the outcome,
// unlocks and stores the six box texts. A run refused or declined before the lock
// changes nothing. Folders already made are never removed.
//
// The number boxes normally hold whole decimal numbers. A minimum or maximum that is not
// a number, or lies outside the 32-bit range of the folder numbers, refuses the run with
// the warning about the minimum and the maximum; a digit count that is not a number
// counts as no padding.
void RunBatch(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings);

} // namespace kovaldi
