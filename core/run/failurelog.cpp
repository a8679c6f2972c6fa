#include "run/failurelog.h"

namespace kovaldi {

void FailureLog::Add(const QString& name, const CreateResult& result)
{
    ++m_total;
    const QString systemText =
        result.reason == FailureReason::Other ? result.systemText : QString();
    Group* group = nullptr;
    for (Group& candidate : m_groups)
        if (candidate.reason == result.reason && candidate.systemText == systemText) {
            group = &candidate;
            break;
        }
    if (!group) {
        m_groups.append(Group{result.reason, systemText, 0, {}});
        group = &m_groups.last();
    }
    ++group->count;
    if (m_namesKept < kNameCap || group->names.size() < kGroupNames) {
        group->names.append(name);
        ++m_namesKept;
    }
}

} // namespace kovaldi
