#include "journal/journallocation.h"

#include "files/nativename.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

#if !defined(Q_OS_WIN)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

const QString kLegacyName = QStringLiteral("last-run.journal");

} // namespace

QString DefaultJournalFolder()
{
    const QString folder = QStringLiteral("/Kovaldi");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + folder;
#else
    // The XDG base directory rules: a relative value is to be ignored.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return state + folder;
    return QDir::homePath() + QStringLiteral("/.local/state") + folder;
#endif
}

bool EnsureJournalFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
#if defined(Q_OS_WIN)
    return QDir().mkpath(folder);
#else
    const QFileInfo info(folder);
    QDir().mkpath(info.absolutePath());
    const QByteArray native = NativeName(folder);
    ::mkdir(native.constData(), 0700);
    // One made by an earlier version, or by hand, is the user's alone from now on.
    struct stat status;
    if (::lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    if (status.st_uid == ::geteuid() && (status.st_mode & 077))
        ::chmod(native.constData(), 0700);
    return true;
#endif
}

FolderTrust CheckJournalFolder(const QString& folder)
{
#if defined(Q_OS_WIN)
    return QFileInfo(folder).isDir() ? FolderTrust::Trusted : FolderTrust::Missing;
#else
    struct stat status;
    if (folder.isEmpty() || !EncodesWhole(folder) ||
        ::stat(NativeName(folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return FolderTrust::Missing;
    if (status.st_uid != ::geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)))
        return FolderTrust::NotTrusted;
    return FolderTrust::Trusted;
#endif
}

QString JournalFileName(const QDateTime& started, const QString& runId)
{
    return QStringLiteral("run-") +
           started.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'")) + QLatin1Char('-') +
           runId + QStringLiteral(".journal");
}

QStringList JournalsNewestFirst(const QString& folder)
{
    static const QRegularExpression runName(
        QStringLiteral("^run-[0-9]{8}T[0-9]{9}Z-[0-9a-f]{16}\\.journal$"));
    const QDir dir(folder);
    QStringList names;
    for (const QString& name :
         dir.entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::NoSort))
        if (runName.match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(), std::greater<>());
    if (QFileInfo(dir.filePath(kLegacyName)).isFile())
        names << kLegacyName;
    QStringList paths;
    for (const QString& name : names)
        paths << folder + QLatin1Char('/') + name;
    return paths;
}

} // namespace kovaldi
