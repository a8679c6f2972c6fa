#pragma once

namespace kovaldi::cli {

// From the call on, SIGINT and SIGTERM (on Windows Ctrl+C, Ctrl+Break and the console
// closing) no longer end the process: they only note that a stop was asked for, which a
// run reads after each folder.
void WatchStopSignals();
bool StopSignalled();

} // namespace kovaldi::cli
