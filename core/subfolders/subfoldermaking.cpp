// Making a template's folders inside a numbered folder: by path where nothing better is
// offered, relative to each opened parent on POSIX systems.
#include "files/localfilesystem.h"
#include "files/nativename.h"
#include "subfolders/subfoldertemplate.h"

#include <vector>

#if !defined(Q_OS_WIN)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

const CreateResult kParentMissing{false, FailureReason::ParentMissing, {}};

} // namespace

void FileSystem::MakeSubfolders(const QString& folder, const SubfolderTemplate& tree,
                                const SubfolderVisitor& each)
{
    const QString base = folder + Separator();
    // Whether each depth's latest folder was made: its children are tried only then.
    std::vector<bool> made(SubfolderTemplate::kMostLevels + 1, false);
    made[0] = true;
    for (qsizetype i = 0; i < tree.Count(); ++i) {
        const int depth = tree.Entries()[i].depth;
        const CreateResult result =
            made[depth - 1] ? CreateFolder(base + tree.PathWith(i, Separator())) : kParentMissing;
        made[depth] = result.made;
        if (!each(i, result))
            return;
    }
}

#if !defined(Q_OS_WIN)

QList<QByteArray> LocalFileSystem::NativeNames(const SubfolderTemplate& tree)
{
    QList<QByteArray> names;
    names.reserve(tree.Count());
    for (const SubfolderTemplate::Entry& entry : tree.Entries())
        names.append(NativeName(entry.name));
    return names;
}

void LocalFileSystem::MakeSubfolders(const QString& folder, const SubfolderTemplate& tree,
                                     const SubfolderVisitor& each)
{
    MakeSubfoldersIn(EncodesWhole(folder)
                         ? ::open(NativeName(folder).constData(),
                                  kSearchAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                         : -1,
                     tree, NativeNames(tree), each);
}

void LocalFileSystem::MakeSubfoldersIn(int folder, const SubfolderTemplate& tree,
                                       const QList<QByteArray>& names, const SubfolderVisitor& each)
{
    // open[d]: the latest folder made at depth d, opened without following a link; -1 when
    // it was not made or could not be opened as the folder made.
    std::vector<int> open(SubfolderTemplate::kMostLevels + 1, -1);
    const auto closeFrom = [&open](int depth) {
        for (size_t d = size_t(depth); d < open.size(); ++d)
            if (open[d] >= 0) {
                ::close(open[d]);
                open[d] = -1;
            }
    };
    open[0] = folder;
    const QList<SubfolderTemplate::Entry>& entries = tree.Entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int depth = entries[i].depth;
        closeFrom(depth);
        const int parent = open[depth - 1];
        CreateResult result = kParentMissing;
        if (parent >= 0) {
            const char* name = names[i].constData();
            if (::mkdirat(parent, name, 0777) == 0) {
                result = {true, {}, {}};
                // Only a folder with children is opened; a link put in its place since it
                // was made is not followed, and its children then fail as missing.
                const bool hasChildren = i + 1 < entries.size() && entries[i + 1].depth > depth;
                if (hasChildren)
                    open[depth] = ::openat(parent, name,
                                           kSearchAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            } else {
                const int error = errno;
                result = FailureFromSystemError(error);
                struct stat status;
                if (result.reason == FailureReason::ExistsAsFolder &&
                    !(::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISDIR(status.st_mode)))
                    result.reason = FailureReason::ExistsAsFile;
            }
        }
        if (!each(i, result))
            break;
    }
    closeFrom(0);
}

#endif

} // namespace kovaldi
