#include "files/localfilesystem.h"

#include "files/nativename.h"
#include "subfolders/subfoldertemplate.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QVarLengthArray>
#include <optional>
#include <utility>

#if defined(Q_OS_WIN)
#include <string>
#include <string_view>
#include <windows.h>
// The Windows SDK's code for a full disk quota, which MinGW-w64's headers lack.
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif
#else
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

// A NUL would cut the path short at the system call, and a lone surrogate would be
// replaced on the way: either way another folder than the one asked for. On POSIX the
// surrogates that stand for bytes that are not UTF-8 go back as those bytes.
bool TravelsWhole(const QString& path)
{
#if !defined(Q_OS_WIN)
    return EncodesWhole(path);
#else
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
#endif
}

#if defined(Q_OS_WIN)

std::wstring NativePath(const QString& path)
{
    return path.toStdWString();
}

#else

QByteArray NativePath(const QString& path)
{
    return NativeName(path);
}

// Closes a descriptor when it goes out of scope.
struct Descriptor
{
    int fd = -1;
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Reset(-1); }
    void Reset(int descriptor)
    {
        if (fd >= 0)
            ::close(fd);
        fd = descriptor;
    }
};

// Makes each folder relative to the opened target folder, its name encoded into a buffer
// that keeps its room from folder to folder. A name with "/" in it is made inside the
// folder its first names lead to, each opened relative to the one before without following
// a link, so that a folder swapped for a link during the run sends nothing outside the
// target; the last such folder stays open for the next name inside it.
class DescriptorTarget : public TargetFolder
{
public:
    explicit DescriptorTarget(int descriptor) : m_dir(descriptor) {}

    CreateResult MakeFolder(QStringView name) override
    {
        if (!Encode(name))
            return {false, FailureReason::InvalidName, {}};
        const char* last = nullptr;
        const int holder = HolderOf(&last);
        if (holder < 0)
            return LocalFileSystem::FailureFromSystemError(errno);
        if (::mkdirat(holder, last, 0777) == 0)
            return {true, {}, {}};
        CreateResult result = LocalFileSystem::FailureFromSystemError(errno);
        struct stat status;
        if (result.reason == FailureReason::ExistsAsFolder &&
            (::fstatat(holder, last, &status, 0) != 0 || !S_ISDIR(status.st_mode)))
            result.reason = FailureReason::ExistsAsFile;
        return result;
    }

    void MakeSubfolders(QStringView name, const SubfolderTemplate& tree,
                        const SubfolderVisitor& each) override
    {
        // The template is the same for every folder of a run: its names are encoded once.
        if (&tree != m_tree || tree.Count() != m_treeNames.size()) {
            m_tree = &tree;
            m_treeNames = LocalFileSystem::NativeNames(tree);
        }
        int folder = -1;
        const char* last = nullptr;
        if (Encode(name)) {
            const int holder = HolderOf(&last);
            if (holder >= 0)
                folder =
                    ::openat(holder, last,
                             LocalFileSystem::kSearchAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        LocalFileSystem::MakeSubfoldersIn(folder, tree, m_treeNames, each);
    }

private:
    // The name into m_native, ended by a NUL; false when it cannot travel whole.
    bool Encode(QStringView name)
    {
        m_native.resize(kMostNativeBytesPerUnit * name.size() + 1);
        const NativeWrite written = WriteNativeName(m_native.data(), name);
        if (name.isEmpty() || !written.whole)
            return false;
        m_native[written.size] = '\0';
        m_size = written.size;
        return true;
    }

    // The folder that holds the last name of m_native, and where that name starts; -1 (with
    // errno) when the way there cannot be opened as folders.
    int HolderOf(const char** last)
    {
        const char* native = m_native.constData();
        const auto* slash = static_cast<const char*>(std::memchr(native, '/', size_t(m_size)));
        if (!slash) {
            *last = native;
            return m_dir.fd;
        }
        const char* end = native + m_size;
        while (const void* next = std::memchr(slash + 1, '/', size_t(end - slash - 1)))
            slash = static_cast<const char*>(next);
        *last = slash + 1;
        const QByteArrayView way(native, slash - native);
        if (m_holder.fd >= 0 && way == QByteArrayView(m_way))
            return m_holder.fd;
        m_holder.Reset(-1);
        Descriptor step(-1);
        int dir = m_dir.fd;
        for (qsizetype from = 0; from < way.size();) {
            qsizetype to = way.indexOf('/', from);
            if (to < 0)
                to = way.size();
            if (to > from) {
                const QByteArray part = way.sliced(from, to - from).toByteArray();
                step.Reset(::openat(dir, part.constData(),
                                    LocalFileSystem::kSearchAccess | O_DIRECTORY | O_NOFOLLOW |
                                        O_CLOEXEC));
                if (step.fd < 0)
                    return -1;
                dir = step.fd;
            }
            from = to + 1;
        }
        if (step.fd < 0)
            return m_dir.fd; // only "/" before the last name
        m_way = way.toByteArray();
        std::swap(m_holder.fd, step.fd);
        return m_holder.fd;
    }

    Descriptor m_dir;
    QVarLengthArray<char, 256> m_native;
    qsizetype m_size = 0;
    Descriptor m_holder{-1}; // the folder m_way leads to, when open
    QByteArray m_way;
    const SubfolderTemplate* m_tree = nullptr;
    QList<QByteArray> m_treeNames;
};

#endif

} // namespace

#if !defined(Q_OS_WIN)
#if defined(O_PATH)
const int LocalFileSystem::kSearchAccess = O_PATH;
#else
const int LocalFileSystem::kSearchAccess = O_RDONLY;
#endif
#endif

bool LocalFileSystem::FolderExists(const QString& path) const
{
    return KindOf(path) == EntryKind::Folder;
}

CreateResult LocalFileSystem::CreateFolder(const QString& path)
{
#if defined(Q_OS_WIN)
    if (path.isEmpty() || !TravelsWhole(path))
        return {false, FailureReason::InvalidName, {}};
    if (CreateDirectoryW(NativePath(path).c_str(), nullptr))
        return {true, {}, {}};
    CreateResult result = FailureFromSystemError(int(GetLastError()));
#else
    // On the stack for any usual path, checked as it is written: a run makes a path for
    // every folder.
    QVarLengthArray<char, 1024> native(kMostNativeBytesPerUnit * path.size() + 1);
    const NativeWrite written = WriteNativeName(native.data(), path);
    if (path.isEmpty() || !written.whole)
        return {false, FailureReason::InvalidName, {}};
    native[written.size] = '\0';
    if (::mkdir(native.constData(), 0777) == 0)
        return {true, {}, {}};
    CreateResult result = FailureFromSystemError(errno);
#endif
    if (result.reason == FailureReason::ExistsAsFolder && KindOf(path) != EntryKind::Folder)
        result.reason = FailureReason::ExistsAsFile;
    return result;
}

std::unique_ptr<TargetFolder> LocalFileSystem::OpenTarget(const QString& baseFolder)
{
#if !defined(Q_OS_WIN)
    // Searching the folder is all that mkdirat needs: a target without read permission
    // opens too.
    if (!baseFolder.isEmpty() && TravelsWhole(baseFolder)) {
        const int dir = ::open(NativePath(baseFolder).constData(),
                               LocalFileSystem::kSearchAccess | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0)
            return std::make_unique<DescriptorTarget>(dir);
    }
#endif
    return FileSystem::OpenTarget(baseFolder);
}

CreateResult LocalFileSystem::FailureFromSystemError(int code)
{
    using R = FailureReason;
#if defined(Q_OS_WIN)
    const std::pair<DWORD, FailureReason> reasons[] = {
        {ERROR_ALREADY_EXISTS, R::ExistsAsFolder},    {ERROR_FILE_EXISTS, R::ExistsAsFolder},
        {ERROR_PATH_NOT_FOUND, R::ParentMissing},     {ERROR_FILE_NOT_FOUND, R::ParentMissing},
        {ERROR_DIRECTORY, R::ParentMissing},          {ERROR_ACCESS_DENIED, R::AccessRefused},
        {ERROR_SHARING_VIOLATION, R::AccessRefused},  {ERROR_PRIVILEGE_NOT_HELD, R::AccessRefused},
        {ERROR_FILENAME_EXCED_RANGE, R::NameTooLong}, {ERROR_DISK_FULL, R::DiskFull},
        {ERROR_HANDLE_DISK_FULL, R::DiskFull},        {ERROR_DISK_QUOTA_EXCEEDED, R::DiskFull},
        {ERROR_WRITE_PROTECT, R::ReadOnly},           {ERROR_INVALID_NAME, R::InvalidName},
        {ERROR_BAD_PATHNAME, R::InvalidName},
    };
    const DWORD error = DWORD(code);
#else
    const std::pair<int, FailureReason> reasons[] = {
        {EEXIST, R::ExistsAsFolder},
        {ENOENT, R::ParentMissing},
        {ENOTDIR, R::ParentMissing},
        {EACCES, R::AccessRefused},
        {EPERM, R::AccessRefused},
        {ENAMETOOLONG, R::NameTooLong},
        {ENOSPC, R::DiskFull},
#if defined(EDQUOT)
        {EDQUOT, R::DiskFull},
#endif
        {EROFS, R::ReadOnly},
        {EINVAL, R::InvalidName},
        {EILSEQ, R::InvalidName},
    };
    const int error = code;
#endif
    for (const auto& [system, reason] : reasons)
        if (system == error)
            return {false, reason, SystemText(error)};
    return {false, FailureReason::Other, SystemText(error)};
}

EntryKind LocalFileSystem::KindOf(const QString& path) const
{
    if (path.isEmpty() || !TravelsWhole(path))
        return EntryKind::Nothing;
#if defined(Q_OS_WIN)
    const DWORD attributes = GetFileAttributesW(NativePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::Nothing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
#else
    const QByteArray native = NativePath(path);
    struct stat status;
    if (::stat(native.constData(), &status) == 0)
        return S_ISDIR(status.st_mode) ? EntryKind::Folder : EntryKind::File;
    return ::lstat(native.constData(), &status) == 0 ? EntryKind::File : EntryKind::Nothing;
#endif
}

bool LocalFileSystem::ListFolder(const QString& folder, const Visitor& visit) const
{
    if (folder.isEmpty() || !TravelsWhole(folder))
        return false;
#if defined(Q_OS_WIN)
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(NativePath(folder + QStringLiteral("\\*")).c_str(), FindExInfoBasic,
                         &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool whole = true;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const bool folderKind = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (!visit(name, folderKind ? EntryKind::Folder : EntryKind::File)) {
            whole = false;
            break;
        }
    } while (FindNextFileW(search, &found));
    if (whole && GetLastError() != ERROR_NO_MORE_FILES)
        whole = false;
    FindClose(search);
    return whole;
#else
    DIR* listing = ::opendir(NativePath(folder).constData());
    if (!listing)
        return false;
    const int dir = ::dirfd(listing);
    bool whole = true;
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(listing);
        if (!found) {
            whole = errno == 0;
            break;
        }
        const char* raw = found->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        const QString name = NameFromNative(QByteArrayView(raw));
        EntryKind kind = EntryKind::File;
        if (found->d_type == DT_DIR) {
            kind = EntryKind::Folder;
        } else if (found->d_type == DT_LNK || found->d_type == DT_UNKNOWN) {
            struct stat status;
            if (::fstatat(dir, raw, &status, 0) == 0 && S_ISDIR(status.st_mode))
                kind = EntryKind::Folder;
        }
        if (!visit(name, kind)) {
            whole = false;
            break;
        }
    }
    ::closedir(listing);
    return whole;
#endif
}

QString LocalFileSystem::AbsoluteFolder(const QString& path) const
{
    if (path.isEmpty() || !TravelsWhole(path))
        return path;
#if defined(Q_OS_WIN)
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return QDir::toNativeSeparators(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
#else
    const QByteArray native = NativePath(path);
    if (char* resolved = ::realpath(native.constData(), nullptr)) {
        const QString text = NameFromNative(QByteArrayView(resolved));
        std::free(resolved);
        return text;
    }
    // Left as typed but made absolute: "\" is a separator here too.
    return QFileInfo(path).absoluteFilePath();
#endif
}

} // namespace kovaldi
