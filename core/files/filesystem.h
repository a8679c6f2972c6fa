#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <memory>

namespace kovaldi {

class SubfolderTemplate;

// The separator of the machine's paths. On Windows "\" (and "/" too, when reading a
// path); elsewhere "/" only, and "\" is an ordinary character of a name.
#if defined(Q_OS_WIN)
inline constexpr QChar kPathSeparator = u'\\';
#else
inline constexpr QChar kPathSeparator = u'/';
#endif

// What a name is in the file system. A symbolic link counts as what it points to; one that
// points nowhere counts as a file, since no folder can be made under its name either.
enum class EntryKind { Nothing, Folder, File };

// Why a folder could not be made, from the system's error code.
enum class FailureReason {
    ExistsAsFolder,
    ExistsAsFile, // or as anything else that is not a folder
    ParentMissing,
    AccessRefused,
    NameTooLong,
    DiskFull, // or the user's quota
    ReadOnly, // read-only file system
    InvalidName,
    Other, // see the system's own text
};

struct CreateResult
{
    bool made = false;
    FailureReason reason = FailureReason::Other; // when not made
    QString systemText;                          // when not made: the system's own words
};

// Why undo left a folder where it is.
enum class KeptReason {
    NotEmpty,
    Gone,           // no longer there, or its target folder is gone
    ReplacedByFile, // something that is not a folder has its name now
    ReplacedByLink, // a symbolic link (or another reparse point) has its name now
    AccessRefused,
    OutsideTarget, // a name that would reach outside the target folder
    Other,         // see the system's own text
};

struct RemoveResult
{
    bool removed = false;                  // with a dry run: would be removed
    KeptReason reason = KeptReason::Other; // when not removed
    QString systemText;                    // when not removed: the system's own words
};

// What an undo found on its way to a run's target folder.
enum class TargetState {
    Opened,
    Gone,          // no folder of its path any more
    LinkOnTheWay,  // a symbolic link (or another reparse point) stands in its path
    NotTheSame,    // a folder of its path, but not the one the run made its folders in
    AccessRefused, // a folder on the way cannot be entered
    Other,         // see the system's own text
};

// A run's target folder opened for undo: every name is taken relative to it, whatever
// happens to its path meanwhile.
class UndoFolder
{
public:
    virtual ~UndoFolder() = default;
    // Removes the folder name inside this folder if it is an empty folder: never anything
    // recursive, never through a symbolic link, never outside. With dryRun set it only
    // says whether it would.
    virtual RemoveResult RemoveEmptyFolder(const QString& name, bool dryRun) = 0;
};

struct OpenedFolder
{
    TargetState state = TargetState::Other;
    QString systemText;                 // with Other
    std::unique_ptr<UndoFolder> folder; // when Opened
};

// Told after every folder of a template made inside a numbered folder, with its entry's
// index and what became of it; the making stops when it returns false.
using SubfolderVisitor = std::function<bool(qsizetype entry, const CreateResult& result)>;

// The folder a run makes its folders in, opened once for the whole run.
class TargetFolder
{
public:
    virtual ~TargetFolder() = default;

    // Creates exactly the last component of name, a path inside the target folder, and
    // says why not when it cannot.
    virtual CreateResult MakeFolder(QStringView name) = 0;

    // Makes the template's folders inside name, a folder MakeFolder made a moment ago, as
    // FileSystem::MakeSubfolders does.
    virtual void MakeSubfolders(QStringView name, const SubfolderTemplate& tree,
                                const SubfolderVisitor& each) = 0;
};

// The file-system operations that a run, its figures and its undo need.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // What the run appends to the target folder before each folder name.
    virtual QChar Separator() const { return kPathSeparator; }

    // True only for an existing folder; a regular file of that name is not one.
    virtual bool FolderExists(const QString& path) const = 0;

    // Creates exactly the last component of path, and says why not when it cannot.
    virtual CreateResult CreateFolder(const QString& path) = 0;

    // Makes the template's folders inside folder, a folder this run made a moment ago:
    // parents before children, each relative to its parent opened without following a
    // link where the system allows, so that a folder swapped for a link meanwhile sends
    // nothing elsewhere. A folder whose parent was not made fails as ParentMissing, untried.
    // Calls each after every folder, with its entry's index and what became of it, and
    // stops when it returns false.
    using SubfolderVisitor = kovaldi::SubfolderVisitor;
    virtual void MakeSubfolders(const QString& folder, const SubfolderTemplate& tree,
                                const SubfolderVisitor& each);

    // The target folder baseFolder (ending in Separator()) opened for a run. Unless a file
    // system does better, each folder is made with CreateFolder(baseFolder + name).
    virtual std::unique_ptr<TargetFolder> OpenTarget(const QString& baseFolder);

    // What path names now.
    virtual EntryKind KindOf(const QString& path) const
    {
        return FolderExists(path) ? EntryKind::Folder : EntryKind::Nothing;
    }

    // Calls visit with every entry directly inside folder, in no particular order, until it
    // returns false. Returns false when the folder could not be listed to the end.
    using Visitor = std::function<bool(const QString& name, EntryKind kind)>;
    virtual bool ListFolder(const QString& folder, const Visitor& visit) const
    {
        Q_UNUSED(folder);
        Q_UNUSED(visit);
        return false;
    }

    // The folder path as an absolute one, with symbolic links resolved where they can be,
    // so that it names the same folder whatever the current folder is later.
    virtual QString AbsoluteFolder(const QString& path) const { return path; }

    // What tells the folder at path from any other for as long as it exists, wherever it
    // is moved, as text; empty when the file system cannot tell.
    virtual QString FolderIdentity(const QString& path) const
    {
        Q_UNUSED(path);
        return {};
    }

    // Opens target, an absolute path without links, for an undo: reached without following
    // any link on the way, and, when identity is given, only if it is still the folder of
    // that identity. By default the folder as FolderExists finds it, each name removed by
    // RemoveEmptyFolder below.
    virtual OpenedFolder OpenForUndo(const QString& target, const QString& identity);

    // Removes the folder name inside target as an UndoFolder would, target opened for this
    // one name.
    virtual RemoveResult RemoveEmptyFolder(const QString& target, const QString& name, bool dryRun)
    {
        Q_UNUSED(target);
        Q_UNUSED(name);
        Q_UNUSED(dryRun);
        return {};
    }
};

} // namespace kovaldi
