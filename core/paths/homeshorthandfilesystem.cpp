#include "paths/homeshorthandfilesystem.h"

#include "paths/targetdefaults.h"

namespace kovaldi {

QString HomeShorthandFileSystem::Expanded(const QString& path) const
{
    return ExpandHomeShorthand(path, m_homeFolder);
}

bool HomeShorthandFileSystem::FolderExists(const QString& path) const
{
    return m_fileSystem.FolderExists(Expanded(path));
}

CreateResult HomeShorthandFileSystem::CreateFolder(const QString& path)
{
    return m_fileSystem.CreateFolder(Expanded(path));
}

EntryKind HomeShorthandFileSystem::KindOf(const QString& path) const
{
    return m_fileSystem.KindOf(Expanded(path));
}

bool HomeShorthandFileSystem::ListFolder(const QString& folder, const Visitor& visit) const
{
    return m_fileSystem.ListFolder(Expanded(folder), visit);
}

QString HomeShorthandFileSystem::AbsoluteFolder(const QString& path) const
{
    return m_fileSystem.AbsoluteFolder(Expanded(path));
}

QString HomeShorthandFileSystem::FolderIdentity(const QString& path) const
{
    return m_fileSystem.FolderIdentity(Expanded(path));
}

OpenedFolder HomeShorthandFileSystem::OpenForUndo(const QString& target, const QString& identity)
{
    return m_fileSystem.OpenForUndo(Expanded(target), identity);
}

RemoveResult HomeShorthandFileSystem::RemoveEmptyFolder(const QString& target, const QString& name,
                                                        bool dryRun)
{
    return m_fileSystem.RemoveEmptyFolder(Expanded(target), name, dryRun);
}

} // namespace kovaldi
