#include "paths/targetdefaults.h"

#include "process/programfolder.h"

#include <QDir>
#include <QTemporaryDir>

namespace kovaldi {

namespace {

bool IsSeparator(QChar c)
{
#if defined(Q_OS_WIN)
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
    return c == QLatin1Char('/');
#endif
}

} // namespace

TargetDefaults ChooseTargetDefaults(const QString& executableFolder, const QString& homeFolder,
                                    const std::function<bool(const QString&)>& canCreateFoldersIn)
{
    if (!canCreateFoldersIn(executableFolder) && !homeFolder.isEmpty() &&
        canCreateFoldersIn(homeFolder))
        return {ProgramFolderFrom(homeFolder), homeFolder, true};
    return {ProgramFolderFrom(executableFolder), executableFolder, false};
}

bool CanCreateFoldersIn(const QString& folder)
{
    // An empty text would put the probe at the file system's root.
    if (folder.isEmpty())
        return false;
    const QTemporaryDir probe(QDir(folder).filePath(QStringLiteral(".kovaldi-XXXXXX")));
    return probe.isValid();
}

QString HomeFolder()
{
    return QDir::toNativeSeparators(QDir::homePath());
}

QString ExpandHomeShorthand(const QString& text, const QString& homeFolder)
{
    if (homeFolder.isEmpty() || !text.startsWith(QLatin1Char('~')))
        return text;
    if (text.size() == 1)
        return homeFolder;
    if (!IsSeparator(text.at(1)))
        return text;
    // A home folder that ends in a separator (the root) takes the rest without doubling it.
    const bool homeEndsInSeparator = IsSeparator(homeFolder.back());
    return homeFolder + text.mid(homeEndsInSeparator ? 2 : 1);
}

} // namespace kovaldi
