#pragma once

#include "naming/folderseries.h"
#include "subfolders/subfoldertemplate.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace kovaldi {

// The folders a run made, kept as runs of consecutive indexes of its series: a run that
// fails now and then needs a few numbers, not one name per folder. With sub-folders, each
// numbered folder and the template's folders inside it take consecutive places, so a run
// whose trees were all made whole still needs a few numbers only.
class MadeRecord
{
public:
    MadeRecord() = default;
    MadeRecord(QString target, FolderSeries series, SubfolderTemplate tree = {})
        : m_target(std::move(target)), m_series(std::move(series)), m_tree(std::move(tree)),
          m_stride(1 + m_tree.Count())
    {}

    // The folders of a run from a list, which follow no series: kept by name.
    static MadeRecord OfNames(QString target)
    {
        MadeRecord record;
        record.m_target = std::move(target);
        record.m_byName = true;
        return record;
    }

    // In the order made: a numbered folder by its index, then the template's entries inside
    // it.
    void Add(qint64 index) { AddPlace(index * m_stride); }
    void AddSubfolder(qint64 index, qsizetype entry) { AddPlace(index * m_stride + 1 + entry); }
    // A run from a list: the name inside the target.
    void AddName(const QString& name)
    {
        m_names.append(name);
        ++m_count;
    }
    bool ByName() const { return m_byName; }

    // The absolute target folder the names are inside.
    const QString& Target() const { return m_target; }
    const FolderSeries& Series() const { return m_series; }
    qint64 Count() const { return m_count; }
    QStringList NamesInOrderMade() const;

private:
    void AddPlace(qint64 place);

    QString m_target;
    FolderSeries m_series;
    SubfolderTemplate m_tree;
    qint64 m_stride = 1;
    QList<std::pair<qint64, qint64>> m_ranges; // first and last index of each
    qint64 m_count = 0;
    bool m_byName = false;
    QStringList m_names;
};

} // namespace kovaldi
