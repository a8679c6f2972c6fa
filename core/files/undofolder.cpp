// Undo's way to a run's target folder and its removals inside it.
#include "files/localfilesystem.h"
#include "files/nativename.h"

#include <QStringList>
#include <QVarLengthArray>
#include <optional>
#include <utility>

#if defined(Q_OS_WIN)
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#else
#include <sys/mount.h>
#include <sys/param.h>
#endif
#endif

namespace kovaldi {

namespace {

RemoveResult Kept(KeptReason reason, QString systemText = {})
{
    return {false, reason, std::move(systemText)};
}

// Whether the text can reach the system whole (see files/nativename.h; on Windows no NUL
// and no lone surrogate).
bool Travels(QStringView text)
{
#if defined(Q_OS_WIN)
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isNull())
            return false;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
#else
    return EncodesWhole(text);
#endif
}

// The components of a name inside a target folder, empty ones and "." left out; nothing
// when a component would climb out of the target or the name names the target itself.
std::optional<QStringList> ComponentsInside(const QString& name)
{
    QStringList components;
    QString path = name;
#if defined(Q_OS_WIN)
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    for (const QString& part : path.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return std::nullopt;
#if defined(Q_OS_WIN)
        // A drive or stream colon, or a component the system trims to "." or "..".
        if (part.contains(QLatin1Char(':')) ||
            part.count(QLatin1Char('.')) + part.count(QLatin1Char(' ')) == part.size())
            return std::nullopt;
#endif
        components << part;
    }
    if (components.isEmpty())
        return std::nullopt;
    return components;
}

#if defined(Q_OS_WIN)

std::wstring Wide(const QString& path)
{
    return path.toStdWString();
}

QString IdentityOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return {};
    const quint64 index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return QStringLiteral("%1:%2")
        .arg(info.dwVolumeSerialNumber, 8, 16, QLatin1Char('0'))
        .arg(index, 0, 16);
}

// A folder opened without following a reparse point, and without letting anyone delete or
// rename it while it is open (no FILE_SHARE_DELETE): a folder held so cannot be moved, and
// neither can any folder above it.
HANDLE OpenHeld(const QString& path)
{
    return CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool HasEntries(const QString& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(Wide(folder + QStringLiteral("\\*")).c_str(), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool any = false;
    do {
        const std::wstring_view name(found.cFileName);
        any = name != L"." && name != L"..";
    } while (!any && FindNextFileW(search, &found));
    FindClose(search);
    return any;
}

// The target and every folder above it held open for as long as the undo lasts; each name
// is then taken by its path, every step looked at before the next.
class HeldFolder : public UndoFolder
{
public:
    HeldFolder(QString path, std::vector<HANDLE> held) : m_path(std::move(path)), m_held(held) {}
    ~HeldFolder() override
    {
        for (const HANDLE handle : m_held)
            CloseHandle(handle);
    }

    RemoveResult RemoveEmptyFolder(const QString& name, bool dryRun) override
    {
        const std::optional<QStringList> components = ComponentsInside(name);
        if (!components)
            return Kept(KeptReason::OutsideTarget);
        if (!Travels(name))
            return Kept(KeptReason::Gone);
        QString path = m_path;
        for (qsizetype i = 0; i < components->size(); ++i) {
            path += QLatin1Char('\\') + components->at(i);
            const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                const DWORD error = GetLastError();
                return error == ERROR_ACCESS_DENIED ? Kept(KeptReason::AccessRefused)
                                                    : Kept(KeptReason::Gone);
            }
            const bool last = i + 1 == components->size();
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                return Kept(KeptReason::ReplacedByLink);
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                return Kept(last ? KeptReason::ReplacedByFile : KeptReason::Gone);
        }
        if (dryRun)
            return HasEntries(path) ? Kept(KeptReason::NotEmpty) : RemoveResult{true, {}, {}};
        if (RemoveDirectoryW(Wide(path).c_str()))
            return {true, {}, {}};
        const DWORD error = GetLastError();
        switch (error) {
        case ERROR_DIR_NOT_EMPTY:
            return Kept(KeptReason::NotEmpty);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Kept(KeptReason::Gone);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return Kept(KeptReason::AccessRefused);
        case ERROR_DIRECTORY:
            return Kept(KeptReason::ReplacedByFile);
        default:
            return Kept(KeptReason::Other, SystemText(error));
        }
    }

private:
    QString m_path;
    std::vector<HANDLE> m_held;
};

#else

#if defined(O_PATH)
// Searching a folder is all a walk needs: a folder without read permission opens too.
constexpr int kWalkAccess = O_PATH;
#else
constexpr int kWalkAccess = O_RDONLY;
#endif

QString IdentityOf(int fd)
{
    struct stat status;
    struct statfs system;
    if (::fstat(fd, &status) != 0 || ::fstatfs(fd, &system) != 0)
        return {};
    // The file system's id as statfs gives it, which stays the same across remounts of
    // removable and network file systems, where the device number may not.
    quint32 id[2] = {0, 0};
    static_assert(sizeof system.f_fsid == sizeof id);
    std::memcpy(id, &system.f_fsid, sizeof id);
    return QStringLiteral("%1%2:%3")
        .arg(id[0], 8, 16, QLatin1Char('0'))
        .arg(id[1], 8, 16, QLatin1Char('0'))
        .arg(quint64(status.st_ino), 0, 16);
}

// What a failed open or removal of an entry in dir means for undo.
RemoveResult KeptAfter(int error, int dir, const char* entry)
{
    switch (error) {
    case ENOENT:
        return Kept(KeptReason::Gone);
    case ENOTEMPTY:
    case EEXIST:
        return Kept(KeptReason::NotEmpty);
    case EACCES:
    case EPERM:
        return Kept(KeptReason::AccessRefused);
    case ENOTDIR:
    case ELOOP: {
        struct stat status;
        if (::fstatat(dir, entry, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return Kept(KeptReason::Gone);
        if (S_ISLNK(status.st_mode))
            return Kept(KeptReason::ReplacedByLink);
        return Kept(S_ISDIR(status.st_mode) ? KeptReason::Other : KeptReason::ReplacedByFile,
                    SystemText(error));
    }
    default:
        return Kept(KeptReason::Other, SystemText(error));
    }
}

bool HasEntries(int dir, const char* entry)
{
    const int fd = ::openat(dir, entry, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        ::close(fd);
        return false;
    }
    bool any = false;
    while (const dirent* found = ::readdir(listing)) {
        if (std::strcmp(found->d_name, ".") != 0 && std::strcmp(found->d_name, "..") != 0) {
            any = true;
            break;
        }
    }
    ::closedir(listing);
    return any;
}

// The target folder as a descriptor: every removal is relative to it, and a removal never
// follows a link (unlinkat of a link to a folder fails with ENOTDIR).
class DescriptorFolder : public UndoFolder
{
public:
    explicit DescriptorFolder(int fd) : m_fd(fd) {}
    ~DescriptorFolder() override { ::close(m_fd); }

    RemoveResult RemoveEmptyFolder(const QString& name, bool dryRun) override
    {
        // Most names are one component: written straight into a buffer on the stack.
        if (!dryRun && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
            name != QLatin1String("..") && !name.isEmpty()) {
            m_native.resize(kMostNativeBytesPerUnit * name.size() + 1);
            const NativeWrite written = WriteNativeName(m_native.data(), name);
            if (!written.whole)
                return Kept(KeptReason::Gone);
            m_native[written.size] = '\0';
            if (::unlinkat(m_fd, m_native.constData(), AT_REMOVEDIR) == 0)
                return {true, {}, {}};
            return KeptAfter(errno, m_fd, m_native.constData());
        }
        return RemoveInside(name, dryRun);
    }

private:
    RemoveResult RemoveInside(const QString& name, bool dryRun)
    {
        const std::optional<QStringList> components = ComponentsInside(name);
        if (!components)
            return Kept(KeptReason::OutsideTarget);
        if (!Travels(name))
            return Kept(KeptReason::Gone);
        int dir = m_fd;
        const auto closeStep = [&dir, this] {
            if (dir != m_fd)
                ::close(dir);
        };
        for (qsizetype i = 0; i + 1 < components->size(); ++i) {
            const QByteArray step = NativeName(components->at(i));
            const int next =
                ::openat(dir, step.constData(), kWalkAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0) {
                const RemoveResult kept = KeptAfter(errno, dir, step.constData());
                closeStep();
                // Whatever now stands in for a folder on the way, the folder itself is gone.
                return kept.reason == KeptReason::ReplacedByFile ? Kept(KeptReason::Gone) : kept;
            }
            closeStep();
            dir = next;
        }
        const QByteArray entry = NativeName(components->last());
        RemoveResult result = Removed(dir, entry.constData(), dryRun);
        closeStep();
        return result;
    }

    static RemoveResult Removed(int dir, const char* entry, bool dryRun)
    {
        if (!dryRun) {
            if (::unlinkat(dir, entry, AT_REMOVEDIR) == 0)
                return {true, {}, {}};
            return KeptAfter(errno, dir, entry);
        }
        struct stat status;
        if (::fstatat(dir, entry, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return KeptAfter(errno, dir, entry);
        if (S_ISLNK(status.st_mode))
            return Kept(KeptReason::ReplacedByLink);
        if (!S_ISDIR(status.st_mode))
            return Kept(KeptReason::ReplacedByFile);
        if (HasEntries(dir, entry))
            return Kept(KeptReason::NotEmpty);
        if (::faccessat(dir, ".", W_OK | X_OK, AT_EACCESS) != 0 && errno == EACCES)
            return Kept(KeptReason::AccessRefused);
        return {true, {}, {}};
    }

    int m_fd;
    QVarLengthArray<char, 256> m_native;
};

#endif

// The default: the folder as the file system's own operations find it.
class ByPathFolder : public UndoFolder
{
public:
    ByPathFolder(FileSystem& fileSystem, QString target)
        : m_fileSystem(fileSystem), m_target(std::move(target))
    {}
    RemoveResult RemoveEmptyFolder(const QString& name, bool dryRun) override
    {
        return m_fileSystem.RemoveEmptyFolder(m_target, name, dryRun);
    }

private:
    FileSystem& m_fileSystem;
    QString m_target;
};

} // namespace

OpenedFolder FileSystem::OpenForUndo(const QString& target, const QString& identity)
{
    Q_UNUSED(identity);
    if (!FolderExists(target))
        return {TargetState::Gone, {}, {}};
    return {TargetState::Opened, {}, std::make_unique<ByPathFolder>(*this, target)};
}

QString LocalFileSystem::FolderIdentity(const QString& path) const
{
    if (path.isEmpty() || !Travels(path))
        return {};
#if defined(Q_OS_WIN)
    const HANDLE handle = CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    const QString identity = IdentityOf(handle);
    CloseHandle(handle);
    return identity;
#else
    const int fd = ::open(NativeName(path).constData(), kWalkAccess | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const QString identity = IdentityOf(fd);
    ::close(fd);
    return identity;
#endif
}

OpenedFolder LocalFileSystem::OpenForUndo(const QString& target, const QString& identity)
{
    if (target.isEmpty() || !Travels(target))
        return {TargetState::Gone, {}, {}};
#if defined(Q_OS_WIN)
    // From the drive's root down, each folder held before the next is looked at.
    QString path = target;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || !parts.first().endsWith(QLatin1Char(':')))
        return {TargetState::Other, SystemText(ERROR_BAD_PATHNAME), {}};
    std::vector<HANDLE> held;
    const auto fail = [&held](TargetState state, QString text = {}) {
        for (const HANDLE handle : held)
            CloseHandle(handle);
        return OpenedFolder{state, std::move(text), {}};
    };
    QString reached = parts.takeFirst();
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return fail(TargetState::NotTheSame);
        reached += QLatin1Char('\\') + part;
        const HANDLE handle = OpenHeld(reached);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return fail(TargetState::Gone);
            if (error == ERROR_ACCESS_DENIED)
                return fail(TargetState::AccessRefused);
            return fail(TargetState::Other, SystemText(error));
        }
        held.push_back(handle);
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(handle, &info))
            return fail(TargetState::Other, SystemText(GetLastError()));
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return fail(TargetState::LinkOnTheWay);
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return fail(TargetState::Gone);
    }
    if (held.empty() || (!identity.isEmpty() && IdentityOf(held.back()) != identity))
        return fail(held.empty() ? TargetState::Other : TargetState::NotTheSame);
    return {TargetState::Opened, {}, std::make_unique<HeldFolder>(reached, std::move(held))};
#else
    // From the root down, each folder opened relative to the one above without following a
    // link; the target is then the descriptor, whatever its path names later.
    if (!target.startsWith(QLatin1Char('/')))
        return {TargetState::Other, SystemText(EINVAL), {}};
    int dir = ::open("/", kWalkAccess | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return {TargetState::Other, SystemText(errno), {}};
    for (const QString& part : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        // The journal keeps a path with links resolved, which has neither.
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            ::close(dir);
            return {TargetState::NotTheSame, {}, {}};
        }
        const QByteArray step = NativeName(part);
        const int next =
            ::openat(dir, step.constData(), kWalkAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const int error = errno;
            struct stat status;
            const bool link = ::fstatat(dir, step.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                              S_ISLNK(status.st_mode);
            ::close(dir);
            if (link || error == ELOOP)
                return {TargetState::LinkOnTheWay, {}, {}};
            if (error == ENOENT || error == ENOTDIR)
                return {TargetState::Gone, {}, {}};
            if (error == EACCES || error == EPERM)
                return {TargetState::AccessRefused, {}, {}};
            return {TargetState::Other, SystemText(error), {}};
        }
        ::close(dir);
        dir = next;
    }
    if (!identity.isEmpty() && IdentityOf(dir) != identity) {
        ::close(dir);
        return {TargetState::NotTheSame, {}, {}};
    }
    return {TargetState::Opened, {}, std::make_unique<DescriptorFolder>(dir)};
#endif
}

RemoveResult LocalFileSystem::RemoveEmptyFolder(const QString& target, const QString& name,
                                                bool dryRun)
{
    const OpenedFolder opened = OpenForUndo(target, QString());
    if (!opened.folder) {
        switch (opened.state) {
        case TargetState::LinkOnTheWay:
            return Kept(KeptReason::ReplacedByLink);
        case TargetState::AccessRefused:
            return Kept(KeptReason::AccessRefused);
        case TargetState::Other:
            return Kept(KeptReason::Other, opened.systemText);
        default:
            return Kept(KeptReason::Gone);
        }
    }
    return opened.folder->RemoveEmptyFolder(name, dryRun);
}

} // namespace kovaldi
