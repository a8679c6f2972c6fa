#pragma once

#include <functional>

namespace kovaldi {

// Ends the process at once: no further handler, no closing of other windows, no
// unwinding of a run that waits in the event pump. Stored settings are already on disk;
// whatever a BeforeEndProcess holds is written out first.
[[noreturn]] void EndProcess();

// Does the work of every BeforeEndProcess now, without ending the process: before a modal
// window holds the event loop for as long as it is open.
void DoBeforeEndWork();

// True while EndProcess does that work.
bool ProcessIsEnding();

// Work that must be done even when the process ends at once, such as writing out what a
// run has buffered for its journal: EndProcess does it while the object lives, newest
// first. Used on one thread.
class BeforeEndProcess
{
public:
    explicit BeforeEndProcess(std::function<void()> work);
    ~BeforeEndProcess();
    BeforeEndProcess(const BeforeEndProcess&) = delete;
    BeforeEndProcess& operator=(const BeforeEndProcess&) = delete;

private:
    friend void DoBeforeEndWork();

    // True while EndProcess does that work.
    bool ProcessIsEnding();
    std::function<void()> m_work;
    BeforeEndProcess* m_next;
    unsigned m_round = 0;
};

} // namespace kovaldi
