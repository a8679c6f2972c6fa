#pragma once

#include <QString>

class QWidget;

namespace kovaldi {

// Lets the user pick a folder. The Browse button reaches the picker through this, so a
// test can stand in for the dialog.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // Runs modally over owner, opened at initialPath; returns the chosen folder's absolute
    // path, or "" when the user cancelled.
    virtual QString chooseFolder(QWidget* owner, const QString& initialPath) = 0;
};

// The chooser that shows the real dialog (ShowFolderDialog).
FolderChooser& SystemFolderChooser();

} // namespace kovaldi
