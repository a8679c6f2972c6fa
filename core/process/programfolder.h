#pragma once

#include "files/filesystem.h"

#include <QString>

namespace kovaldi {

// The folder that holds the running executable, with the platform's separators.
QString ExecutableFolder();

// The folder as the target box shows it: without a trailing separator (C:\ gives C:),
// except that a lone separator, the POSIX root, stays so the box is never left empty.
QString ProgramFolderFrom(const QString& executableFolder, QChar separator = kPathSeparator);

} // namespace kovaldi
