#pragma once

#include <QString>

namespace kovaldi {

// The two file-system operations that a run needs.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // True only for an existing folder; a regular file of that name is not one.
    virtual bool FolderExists(const QString& path) const = 0;

    // Creates exactly the last component of path. Fails when the name exists already
    // (as a folder or a file), the parent is missing, the name is not valid or too long,
    // or access is refused.
    virtual bool CreateFolder(const QString& path) = 0;
};

} // namespace kovaldi
