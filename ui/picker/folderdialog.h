#pragma once

#include <QString>

class QWidget;

namespace kovaldi {

// The folder picker: modal over owner, titled "フォルダの選択", folders only, with a field
// to type a folder name and a button to create a new folder. It opens at the folder that
// initialPath names (see FolderDialogStartFolder). Returns the chosen folder's absolute
// path with the platform's separators, or "" when the user cancelled.
QString ShowFolderDialog(QWidget* owner, const QString& initialPath);

// Where the picker opens for a box text: the folder it names; for a text that names no
// folder (a mistyped path, a file) the nearest existing folder above it, a relative text
// taken from the current directory; for an empty or blank text the home folder.
QString FolderDialogStartFolder(const QString& initialPath);

} // namespace kovaldi
