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

bool HomeShorthandFileSystem::CreateFolder(const QString& path)
{
    return m_fileSystem.CreateFolder(Expanded(path));
}

} // namespace kovaldi
