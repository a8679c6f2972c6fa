#include "picker/folderdialog.h"

#include "picker/folderchooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace kovaldi {

namespace {

class DialogFolderChooser : public FolderChooser
{
public:
    QString chooseFolder(QWidget* owner, const QString& initialPath) override
    {
        return ShowFolderDialog(owner, initialPath);
    }
};

} // namespace

FolderChooser& SystemFolderChooser()
{
    static DialogFolderChooser chooser;
    return chooser;
}

QString FolderDialogStartFolder(const QString& initialPath)
{
    if (initialPath.trimmed().isEmpty())
        return QDir::homePath();
    QString path = initialPath;
#if defined(Q_OS_WIN)
    // "C:" alone names the current folder of drive C; the box means the drive's root.
    static const QRegularExpression bareDrive(QStringLiteral("^[A-Za-z]:$"));
    if (bareDrive.match(path).hasMatch())
        path += QLatin1Char('/');
#endif
    // Only Windows reads "\" as a separator; elsewhere it is part of a name, as it is in
    // the folders a run makes.
    QFileInfo candidate(QDir::cleanPath(QDir::fromNativeSeparators(path)));
    QString folder = candidate.absoluteFilePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QDir::homePath();
        folder = parent;
    }
    return QDir::toNativeSeparators(folder);
}

QString ShowFolderDialog(QWidget* owner, const QString& initialPath)
{
    // The platform's own dialog where there is one; Qt's dialog otherwise.
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, QStringLiteral("フォルダの選択"), FolderDialogStartFolder(initialPath),
        QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return {};
    return QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
}

} // namespace kovaldi
