#include "stopsignal.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include <atomic>
#include <windows.h>
#else
#include <csignal>
#endif

namespace kovaldi::cli {

namespace {

#if defined(Q_OS_WIN)

std::atomic<bool> stopAsked{false};

BOOL WINAPI NoteStop(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        stopAsked = true;
        return TRUE;
    default:
        return FALSE;
    }
}

#else

volatile std::sig_atomic_t stopAsked = 0;

void NoteStop(int)
{
    stopAsked = 1;
}

#endif

} // namespace

void WatchStopSignals()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(NoteStop, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    // A write or a wait that the signal interrupts goes on: a report blocked on a full pipe
    // is finished, never cut.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

bool StopSignalled()
{
    return stopAsked != 0;
}

} // namespace kovaldi::cli
