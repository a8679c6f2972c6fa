#include "paths/homeshorthandfilesystem.h"

#include "naming/naming.h"
#include "paths/targetdefaults.h"

namespace kovaldi {

QString HomeShorthandFileSystem::Expanded(const QString& path) const
{
    // A target text of "~" alone arrives with the separator that the run appends to every
    // target, whichever character that is.
    const QString bareShorthand = BuildBaseFolder(QStringLiteral("~"));
    if (!m_homeFolder.isEmpty() && path.startsWith(bareShorthand))
        return m_homeFolder + path.mid(1);
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
