#include "run/existingnames.h"

#include <algorithm>
#include <utility>

namespace kovaldi {

ExistingNames::ExistingNames(const FileSystem& fileSystem, QString baseFolder, FolderSeries series)
    : m_fileSystem(fileSystem), m_baseFolder(std::move(baseFolder)), m_series(std::move(series)),
      m_foldedHeader(Folded(m_series.header)), m_foldedFooter(Folded(m_series.footer))
{}

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
        m_foldedHeader != m_series.header || m_foldedFooter != m_series.footer;

    m_loaded = m_fileSystem.ListFolder(m_baseFolder, [&](const QString& name, EntryKind kind) {
        const qint64 index = IndexOf(name, m_series.header, m_series.footer);
        if (index >= 0) {
            m_listed.insert(index, kind);
        } else {
            const QString folded = Folded(name);
            if (foldedDiffers || folded != name) {
                const qint64 near = IndexOf(folded, m_foldedHeader, m_foldedFooter);
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

qint64 ExistingNames::IndexOf(QStringView text, const QString& header, const QString& footer) const
{
    if (text.size() <= header.size() + footer.size() || !text.startsWith(header) ||
        !text.endsWith(footer))
        return -1;
    QStringView number = text.mid(header.size(), text.size() - header.size() - footer.size());
    const bool negative = number.startsWith(QLatin1Char('-'));
    if (negative)
        number = number.mid(1);
    // The number as the zero mask writes it: at least as many digits as the mask, and no
    // zero in front beyond those.
    const qsizetype digits = number.size();
    const qsizetype least = std::max<qsizetype>(m_series.zeroMask.size(), 1);
    if (digits < least || digits > 18 || (digits > least && number.front() == QLatin1Char('0')))
        return -1;
    qint64 value = 0;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (negative && value == 0)
        return -1;
    const qint64 offset = (negative ? -value : value) - m_series.first;
    if (m_series.step < 1 || offset < 0 || offset % m_series.step != 0)
        return -1;
    const qint64 index = offset / m_series.step;
    return index < m_series.count ? index : -1;
}

QString ExistingNames::Folded(const QString& text)
{
    // Most names are ASCII without capitals, which fold to themselves.
    const auto plain = [](QChar c) {
        return c.unicode() < 0x80 && !c.isUpper();
    };
    if (std::all_of(text.begin(), text.end(), plain))
        return text;
    return text.normalized(QString::NormalizationForm_C).toCaseFolded();
}

} // namespace kovaldi
