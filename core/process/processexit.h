#pragma once

namespace kovaldi {

// Ends the process at once: no further handler, no closing of other windows, no
// unwinding of a run that waits in the event pump. Stored settings are already on disk.
[[noreturn]] void EndProcess();

} // namespace kovaldi
