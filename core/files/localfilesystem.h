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
    bool CreateFolder(const QString& path) override;
};

} // namespace kovaldi
