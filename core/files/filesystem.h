#pragma once

#include <QString>

namespace kovaldi {

// The separator of the machine's paths. On Windows "\" (and "/" too, when reading a
// path); elsewhere "/" only, and "\" is an ordinary character of a name.
#if defined(Q_OS_WIN)
inline constexpr QChar kPathSeparator = u'\\';
#else
inline constexpr QChar kPathSeparator = u'/';
#endif

// The file-system operations that a run needs.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // What the run appends to the target folder before each folder name.
    virtual QChar Separator() const { return kPathSeparator; }

    // True only for an existing folder; a regular file of that name is not one.
    virtual bool FolderExists(const QString& path) const = 0;

    // Creates exactly the last component of path. Fails when the name exists already
    // (as a folder or a file), the parent is missing, the name is not valid or too long,
    // or access is refused.
    virtual bool CreateFolder(const QString& path) = 0;
};

} // namespace kovaldi
