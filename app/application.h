#pragma once

#include <functional>

namespace kovaldi {

class MainWindow;

// The whole life of the process after main(): application set-up, the main window's
// load and show, and the event loop. beforeShow, when given, sees the window just before
// it is first shown (benchmarks watch for its first paint there).
int RunApplication(int& argc, char** argv,
                   const std::function<void(MainWindow&)>& beforeShow = nullptr);

} // namespace kovaldi
