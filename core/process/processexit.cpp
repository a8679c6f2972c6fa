#include "process/processexit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kovaldi {

namespace {
BeforeEndProcess* g_newest = nullptr;
unsigned g_round = 0;
bool g_ending = false;
} // namespace

BeforeEndProcess::BeforeEndProcess(std::function<void()> work)
    : m_work(std::move(work)), m_next(g_newest)
{
    g_newest = this;
}

BeforeEndProcess::~BeforeEndProcess()
{
    // Objects end in the reverse order of their start, but take this one out wherever it is.
    for (BeforeEndProcess** link = &g_newest; *link; link = &(*link)->m_next)
        if (*link == this) {
            *link = m_next;
            break;
        }
}

void DoBeforeEndWork()
{
    // The live list is walked afresh after each work, which runs from a copy: a work may
    // end its own object, or another (a journal whose last write fails closes itself).
    const unsigned round = ++g_round;
    for (;;) {
        BeforeEndProcess* next = g_newest;
        while (next && next->m_round == round)
            next = next->m_next;
        if (!next)
            return;
        next->m_round = round;
        const std::function<void()> work = next->m_work;
        work();
    }
}

bool ProcessIsEnding()
{
    return g_ending;
}

void EndProcess()
{
    g_ending = true;
    DoBeforeEndWork();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace kovaldi
