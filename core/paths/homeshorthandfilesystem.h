#pragma once

#include "files/filesystem.h"

#include <QString>

namespace kovaldi {

// A file system that reads a path starting with the home shorthand ("~" alone or followed
// by a separator) as a path in the home folder, and hands every path on to another file
// system. The run keeps the target text as typed, for its messages and the stored
// settings; only the folders it tests and makes are the home folder's.
class HomeShorthandFileSystem : public FileSystem
{
public:
    HomeShorthandFileSystem(FileSystem& fileSystem, const QString& homeFolder)
        : m_fileSystem(fileSystem), m_homeFolder(homeFolder)
    {}

    QChar Separator() const override { return m_fileSystem.Separator(); }
    bool FolderExists(const QString& path) const override;
    CreateResult CreateFolder(const QString& path) override;
    EntryKind KindOf(const QString& path) const override;
    bool ListFolder(const QString& folder, const Visitor& visit) const override;
    QString AbsoluteFolder(const QString& path) const override;
    QString FolderIdentity(const QString& path) const override;
    OpenedFolder OpenForUndo(const QString& target, const QString& identity) override;
    std::unique_ptr<TargetFolder> OpenTarget(const QString& baseFolder) override
    {
        return m_fileSystem.OpenTarget(Expanded(baseFolder));
    }
    void MakeSubfolders(const QString& folder, const SubfolderTemplate& tree,
                        const SubfolderVisitor& each) override
    {
        m_fileSystem.MakeSubfolders(Expanded(folder), tree, each);
    }
    RemoveResult RemoveEmptyFolder(const QString& target, const QString& name,
                                   bool dryRun) override;

private:
    QString Expanded(const QString& path) const;

    FileSystem& m_fileSystem;
    QString m_homeFolder;
};

} // namespace kovaldi
