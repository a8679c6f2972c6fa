#include "run/existingnames.h"

#include "naming/naming.h"

#include <algorithm>
#include <utility>

namespace kovaldi {

ExistingNames::ExistingNames(const FileSystem& fileSystem, QString baseFolder, FolderSeries series)
    : m_fileSystem(fileSystem), m_baseFolder(std::move(baseFolder)), m_series(std::move(series)),
      m_folded(m_series)
{
    m_folded.header = FoldedName(m_series.header);
    m_folded.footer = FoldedName(m_series.footer);
}

bool ExistingNames::Load(const QDeadlineTimer& deadline)
{
    m_listed.clear();
    m_near.clear();
    m_loaded = false;
    // Names with a separator are not entries of the folder itself.
    const auto separator = [](QChar c) {
        return c == QLatin1Char('/') || c == kPathSeparator;
    };
    const QString affixes = m_series.header + m_series.footer;
    if (std::any_of(affixes.begin(), affixes.end(), separator))
        return false;
    const bool foldedDiffers =
        m_folded.header != m_series.header || m_folded.footer != m_series.footer;

    m_loaded = m_fileSystem.ListFolder(m_baseFolder, [&](const QString& name, EntryKind kind) {
        const qint64 index = m_series.IndexOf(name);
        if (index >= 0) {
            m_listed.insert(index, kind);
        } else {
            const QString folded = FoldedName(name);
            if (foldedDiffers || folded != name) {
                const qint64 near = m_folded.IndexOf(folded);
                if (near >= 0)
                    m_near.insert(near);
            }
        }
        return !deadline.hasExpired();
    });
    if (!m_loaded) {
        m_listed.clear();
        m_near.clear();
    }
    return m_loaded;
}

EntryKind ExistingNames::KindAt(qint64 index) const
{
    if (m_loaded) {
        const auto found = m_listed.constFind(index);
        if (found != m_listed.constEnd())
            return *found;
        if (!m_near.contains(index))
            return EntryKind::Nothing;
    }
    return m_fileSystem.KindOf(m_baseFolder + m_series.NameAt(index));
}

} // namespace kovaldi
