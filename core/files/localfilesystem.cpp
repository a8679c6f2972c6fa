#include "files/localfilesystem.h"

#if defined(Q_OS_WIN)
#include <string>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace kovaldi {

namespace {

// A NUL would cut the path short at the system call, and a lone surrogate would be
// replaced on the way: either way another folder than the one asked for.
bool TravelsWhole(const QString& path)
{
    const qsizetype size = path.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = path.at(i);
        if (c.isNull())
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 == size || !path.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

#if defined(Q_OS_WIN)

std::wstring NativePath(const QString& path)
{
    return path.toStdWString();
}

#else

QByteArray NativePath(const QString& path)
{
    return path.toUtf8();
}

#endif

} // namespace

bool LocalFileSystem::FolderExists(const QString& path) const
{
    if (path.isEmpty() || !TravelsWhole(path))
        return false;
#if defined(Q_OS_WIN)
    const DWORD attributes = GetFileAttributesW(NativePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat status;
    return ::stat(NativePath(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

bool LocalFileSystem::CreateFolder(const QString& path)
{
    if (path.isEmpty() || !TravelsWhole(path))
        return false;
#if defined(Q_OS_WIN)
    return CreateDirectoryW(NativePath(path).c_str(), nullptr) != 0;
#else
    return ::mkdir(NativePath(path).constData(), 0777) == 0;
#endif
}

} // namespace kovaldi
