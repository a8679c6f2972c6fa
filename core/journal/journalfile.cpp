#include "journal/journalfile.h"

#include "files/nativename.h"

#include <QDateTime>
#include <utility>

#if defined(Q_OS_WIN)
#include <string>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

QByteArray SupersededLine()
{
    return "superseded " + QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() +
           '\n';
}

#if defined(Q_OS_WIN)

std::wstring Wide(const QString& path)
{
    return path.toStdWString();
}

// The lock is on a byte far past any journal's end: it keeps a second holder out and never
// stands in the way of reading or appending.
bool LockFar(HANDLE handle)
{
    OVERLAPPED at = {};
    at.Offset = 0xFFFFFFFF;
    at.OffsetHigh = 0x7FFFFFFF;
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

bool WriteAtEnd(HANDLE handle, const QByteArray& bytes)
{
    OVERLAPPED atEnd = {};
    atEnd.Offset = 0xFFFFFFFF;
    atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    return WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, &atEnd) &&
           written == DWORD(bytes.size());
}

#else

QByteArray Native(const QString& path)
{
    return NativeName(path);
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    // One write: with O_APPEND it lands whole at the end, even beside another writer.
    const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    return written == ssize_t(bytes.size());
}

#endif

} // namespace

JournalFile::~JournalFile()
{
    Close();
}

JournalFile::JournalFile(JournalFile&& other) noexcept
{
    *this = std::move(other);
}

JournalFile& JournalFile::operator=(JournalFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_path = std::move(other.m_path);
#if defined(Q_OS_WIN)
        m_handle = std::exchange(other.m_handle, nullptr);
#else
        m_fd = std::exchange(other.m_fd, -1);
#endif
    }
    return *this;
}

bool JournalFile::IsOpen() const
{
#if defined(Q_OS_WIN)
    return m_handle != nullptr;
#else
    return m_fd >= 0;
#endif
}

bool JournalFile::Create(const QString& path)
{
    Close();
    if (path.isEmpty() || !EncodesWhole(path))
        return false;
#if defined(Q_OS_WIN)
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    if (!LockFar(handle)) {
        CloseHandle(handle);
        return false;
    }
    m_handle = handle;
#else
    const int fd = ::open(Native(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // Whatever the umask left, the user may read and write it, and nobody else anything.
    if (::fchmod(fd, 0600) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
#endif
    m_path = path;
    return true;
}

JournalFile::Problem JournalFile::Open(const QString& path)
{
    Close();
    if (path.isEmpty() || !EncodesWhole(path))
        return Problem::Missing;
#if defined(Q_OS_WIN)
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Problem::Missing;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return Problem::AccessRefused;
        default:
            return Problem::Other;
        }
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        CloseHandle(handle);
        return Problem::NotAFile;
    }
    if (!LockFar(handle)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return error == ERROR_LOCK_VIOLATION ? Problem::Locked : Problem::Other;
    }
    m_handle = handle;
#else
    // Looked at before it is opened, so that nothing but a regular file of the user's is
    // ever opened (a FIFO would block, a device would answer anything); the file opened is
    // checked to be the one looked at.
    const QByteArray native = Native(path);
    struct stat before;
    if (::lstat(native.constData(), &before) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Problem::Missing : Problem::Other;
    if (!S_ISREG(before.st_mode))
        return Problem::NotAFile;
    if (before.st_uid != ::geteuid() || (before.st_mode & (S_IWGRP | S_IWOTH)))
        return Problem::NotTrusted;
    const int fd = ::open(native.constData(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return Problem::AccessRefused;
        return error == ENOENT ? Problem::Missing : Problem::Other;
    }
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || opened.st_ino != before.st_ino ||
        opened.st_dev != before.st_dev || opened.st_uid != ::geteuid() ||
        (opened.st_mode & (S_IWGRP | S_IWOTH))) {
        ::close(fd);
        return Problem::Other;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Problem::Locked : Problem::Other;
    }
    m_fd = fd;
#endif
    m_path = path;
    return Problem::None;
}

bool JournalFile::Append(const QByteArray& bytes)
{
    if (!IsOpen())
        return false;
#if defined(Q_OS_WIN)
    return WriteAtEnd(HANDLE(m_handle), bytes);
#else
    return WriteAll(m_fd, bytes);
#endif
}

bool JournalFile::Truncate(qint64 size)
{
    if (!IsOpen())
        return false;
#if defined(Q_OS_WIN)
    FILE_END_OF_FILE_INFO end = {};
    end.EndOfFile.QuadPart = size;
    return SetFileInformationByHandle(HANDLE(m_handle), FileEndOfFileInfo, &end, sizeof end);
#else
    return ::ftruncate(m_fd, off_t(size)) == 0;
#endif
}

qint64 JournalFile::ReadAt(qint64 offset, char* data, qint64 size)
{
    if (!IsOpen())
        return -1;
#if defined(Q_OS_WIN)
    OVERLAPPED at = {};
    at.Offset = DWORD(offset & 0xFFFFFFFF);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD read = 0;
    if (!ReadFile(HANDLE(m_handle), data, DWORD(size), &read, &at))
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return qint64(read);
#else
    ssize_t read;
    do {
        read = ::pread(m_fd, data, size_t(size), off_t(offset));
    } while (read < 0 && errno == EINTR);
    return qint64(read);
#endif
}

qint64 JournalFile::Size() const
{
    if (!IsOpen())
        return -1;
#if defined(Q_OS_WIN)
    LARGE_INTEGER size;
    return GetFileSizeEx(HANDLE(m_handle), &size) ? qint64(size.QuadPart) : -1;
#else
    struct stat status;
    return ::fstat(m_fd, &status) == 0 ? qint64(status.st_size) : -1;
#endif
}

void JournalFile::Remove()
{
    if (!IsOpen())
        return;
#if defined(Q_OS_WIN)
    FILE_DISPOSITION_INFO dispose = {};
    dispose.DeleteFile = TRUE;
    SetFileInformationByHandle(HANDLE(m_handle), FileDispositionInfo, &dispose, sizeof dispose);
#else
    // Only while the name still names the file held: a journal put in its place stays.
    struct stat held;
    struct stat named;
    const QByteArray native = Native(m_path);
    if (::fstat(m_fd, &held) == 0 && ::lstat(native.constData(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev)
        ::unlink(native.constData());
#endif
    Close();
}

void JournalFile::Close()
{
#if defined(Q_OS_WIN)
    if (m_handle)
        CloseHandle(HANDLE(m_handle));
    m_handle = nullptr;
#else
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
#endif
    m_path.clear();
}

bool MarkJournalSuperseded(const QString& path)
{
    if (path.isEmpty() || !EncodesWhole(path))
        return false;
    // A journal whose last line was cut short (a full disk) gets an escape that cannot end
    // a name before the mark, so that the cut line never reads as a whole one.
    const auto lineFor = [](bool endsInLineBreak) {
        return (endsInLineBreak ? QByteArray() : QByteArray("%\n")) + SupersededLine();
    };
#if defined(Q_OS_WIN)
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    char last = '\n';
    DWORD read = 0;
    OVERLAPPED at = {};
    if (GetFileSizeEx(handle, &size) && size.QuadPart > 0) {
        at.Offset = DWORD((size.QuadPart - 1) & 0xFFFFFFFF);
        at.OffsetHigh = DWORD((size.QuadPart - 1) >> 32);
        ReadFile(handle, &last, 1, &read, &at);
    }
    const QByteArray line = lineFor(last == '\n');
    const bool whole = WriteAtEnd(handle, line);
    CloseHandle(handle);
    return whole;
#else
    const int fd =
        ::open(Native(path).constData(), O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat status;
    char last = '\n';
    bool whole = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                 (status.st_size == 0 || ::pread(fd, &last, 1, status.st_size - 1) == 1) &&
                 WriteAll(fd, lineFor(last == '\n'));
    // Out on the disk: the run that could not write its own journal relies on it.
    whole = whole && ::fsync(fd) == 0;
    ::close(fd);
    return whole;
#endif
}

} // namespace kovaldi
