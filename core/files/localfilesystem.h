#pragma once

#include "files/filesystem.h"

namespace kovaldi {

// The machine's own file system. Paths are Unicode; on POSIX they go to the system as
// UTF-8 bytes unchanged, so a "\" there is part of a name, as in the system's own tools.
// A path that cannot travel whole (a NUL character, a lone surrogate) names nothing: it
// does not exist and cannot be created.
class LocalFileSystem : public FileSystem
{
public:
    bool FolderExists(const QString& path) const override;
    CreateResult CreateFolder(const QString& path) override;
    // On POSIX the target is opened once and each folder made relative to it (mkdirat), so
    // that a link put in place of the target's path during a run is never followed; where
    // it cannot be opened, and on Windows, each folder is made by its path.
    std::unique_ptr<TargetFolder> OpenTarget(const QString& baseFolder) override;
    EntryKind KindOf(const QString& path) const override;
    bool ListFolder(const QString& folder, const Visitor& visit) const override;
    QString AbsoluteFolder(const QString& path) const override;
    // The target's file system id (statfs's f_fsid) and file number; on Windows its
    // volume's serial number and file index.
    QString FolderIdentity(const QString& path) const override;
    // On POSIX the target is reached from the root, one folder opened relative to the one
    // above with O_NOFOLLOW, and each name is removed relative to it (unlinkat). On Windows
    // the target and every folder above it are held open, which keeps them from being
    // moved or removed, and each name is taken by its path, checked step by step.
    OpenedFolder OpenForUndo(const QString& target, const QString& identity) override;
#if !defined(Q_OS_WIN)
    void MakeSubfolders(const QString& folder, const SubfolderTemplate& tree,
                        const SubfolderVisitor& each) override;
    // The same inside the folder opened as `folder` (closed at the end), the template's
    // names given already encoded for the system, one per entry.
    static void MakeSubfoldersIn(int folder, const SubfolderTemplate& tree,
                                 const QList<QByteArray>& names, const SubfolderVisitor& each);
    // The template's names encoded for the system, one per entry.
    static QList<QByteArray> NativeNames(const SubfolderTemplate& tree);
    // How a folder is opened to make folders inside it: searching it is all that mkdirat
    // and openat need (O_PATH where the system has it).
    static const int kSearchAccess;
#endif
    RemoveResult RemoveEmptyFolder(const QString& target, const QString& name,
                                   bool dryRun) override;

    // Why a creation failed, from the system's error code (errno on POSIX, GetLastError on
    // Windows). A name that exists comes back as ExistsAsFolder: only a look at the name can
    // tell a folder from a file.
    static CreateResult FailureFromSystemError(int code);
};

} // namespace kovaldi
