#pragma once

#include "files/filesystem.h"
#include "naming/folderseries.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QSet>
#include <QString>

namespace kovaldi {

// What each name of a series names now inside its folder. One listing of the folder,
// whose entries are read back as numbers of the series, answers almost every name without
// building it; a name the listing cannot answer is asked of the file system: every name
// when the folder could not be listed or the names hold a separator, and a name that an
// entry matches only when case and Unicode form are ignored (as some file systems do).
class ExistingNames
{
public:
    ExistingNames(const FileSystem& fileSystem, QString baseFolder, FolderSeries series);

    // Lists the folder. False when it could not be listed before the deadline; every name
    // is then asked of the file system.
    bool Load(const QDeadlineTimer& deadline);

    EntryKind KindAt(qint64 index) const;

    // After a successful Load: whether no name needs a question to the file system, and
    // the entries that are names of the series, by index.
    bool AnsweredByListing() const { return m_loaded && m_near.isEmpty(); }
    const QHash<qint64, EntryKind>& Listed() const { return m_listed; }

private:
    const FileSystem& m_fileSystem;
    QString m_baseFolder;
    FolderSeries m_series;
    FolderSeries m_folded; // the same with header and footer folded
    bool m_loaded = false;
    QHash<qint64, EntryKind> m_listed;
    QSet<qint64> m_near;
};

} // namespace kovaldi
