#pragma once

#include <QString>
#include <functional>

namespace kovaldi {

// Where an empty target box starts and what a relative target text is taken from.
struct TargetDefaults
{
    QString boxText;      // the folder as the box shows it, without a trailing separator
    QString relativeBase; // the folder itself, which relative texts resolve against
    bool fromHome = false;
};

// The program's folder, as long as the user can create folders in it (a portable copy
// kept in a folder of the user's). An installed program's folder is no place for the
// user's folders: the home folder then takes its part, unless it is missing or the user
// cannot create folders there either, in which case the program's folder stays.
TargetDefaults ChooseTargetDefaults(const QString& executableFolder, const QString& homeFolder,
                                    const std::function<bool(const QString&)>& canCreateFoldersIn);

// Whether a folder can be created inside folder right now, found out by creating one with
// a name of its own and removing it again: permissions, read-only media, a folder that is
// gone or is a file, the system's own folders all answer the same way, for every user.
bool CanCreateFoldersIn(const QString& folder);

// The user's home folder with the platform's separators; empty when none is known.
QString HomeFolder();

// "~" alone or followed by a separator stands for homeFolder, as a shell reads it. Any
// other text, "~user/..." included, is returned as it is; so is every text while
// homeFolder is empty.
QString ExpandHomeShorthand(const QString& text, const QString& homeFolder);

} // namespace kovaldi
