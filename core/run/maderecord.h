#pragma once

#include "run/folderseries.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace kovaldi {

// The folders a run made, kept as runs of consecutive indexes of its series: a run that
// fails now and then needs a few numbers, not one name per folder.
class MadeRecord
{
public:
    MadeRecord() = default;
    MadeRecord(QString target, FolderSeries series)
        : m_target(std::move(target)), m_series(std::move(series))
    {}

    // Indexes come in increasing order.
    void Add(qint64 index);

    // The absolute target folder the names are inside.
    const QString& Target() const { return m_target; }
    const FolderSeries& Series() const { return m_series; }
    qint64 Count() const { return m_count; }
    QStringList NamesInOrderMade() const;

private:
    QString m_target;
    FolderSeries m_series;
    QList<std::pair<qint64, qint64>> m_ranges; // first and last index of each
    qint64 m_count = 0;
};

} // namespace kovaldi
