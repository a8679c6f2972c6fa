#include "process/processexit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kovaldi {

namespace {
BeforeEndProcess* g_newest = nullptr;
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

void EndProcess()
{
    for (BeforeEndProcess* work = g_newest; work; work = work->m_next)
        work->m_work();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace kovaldi
