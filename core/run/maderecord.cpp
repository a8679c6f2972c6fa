#include "run/maderecord.h"

#include "files/filesystem.h"

namespace kovaldi {

void MadeRecord::AddPlace(qint64 place)
{
    if (!m_ranges.isEmpty() && m_ranges.last().second + 1 == place)
        m_ranges.last().second = place;
    else
        m_ranges.append({place, place});
    ++m_count;
}

QStringList MadeRecord::NamesInOrderMade() const
{
    if (m_byName)
        return m_names;
    QStringList names;
    names.reserve(m_count);
    for (const auto& [first, last] : m_ranges)
        for (qint64 place = first; place <= last; ++place) {
            const qint64 entry = place % m_stride;
            const QString name = m_series.NameAt(place / m_stride);
            names.append(entry == 0
                             ? name
                             : name + kPathSeparator + m_tree.PathWith(entry - 1, kPathSeparator));
        }
    return names;
}

} // namespace kovaldi
