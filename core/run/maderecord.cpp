#include "run/maderecord.h"

namespace kovaldi {

void MadeRecord::Add(qint64 index)
{
    if (!m_ranges.isEmpty() && m_ranges.last().second + 1 == index)
        m_ranges.last().second = index;
    else
        m_ranges.append({index, index});
    ++m_count;
}

QStringList MadeRecord::NamesInOrderMade() const
{
    QStringList names;
    names.reserve(m_count);
    for (const auto& [first, last] : m_ranges)
        for (qint64 index = first; index <= last; ++index)
            names.append(m_series.NameAt(index));
    return names;
}

} // namespace kovaldi
