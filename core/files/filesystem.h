#pragma once

#include <QString>
#include <functional>

namespace kovaldi {

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

    // Removes the folder name inside target if it is an empty folder: never anything
    // recursive, never through a symbolic link, never outside target. With dryRun set it
    // only says whether it would.
    virtual RemoveResult RemoveEmptyFolder(const QString& target, const QString& name, bool dryRun)
    {
        Q_UNUSED(target);
        Q_UNUSED(name);
        Q_UNUSED(dryRun);
        return {};
    }
};

} // namespace kovaldi
