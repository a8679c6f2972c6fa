#pragma once

#include <QString>
#include <optional>

class QUrl;

namespace kovaldi {

class FileSystem;

// The path of a local file URL, byte for byte: a percent-encoded byte that is not part of
// UTF-8 comes back as the surrogate that stands for it (see nativename.h). Nothing for a
// URL of another scheme or of another machine.
std::optional<QString> LocalPathOfUrl(const QUrl& url);

// The target text that an item names, from its absolute path: the folder itself, the
// folder that holds it for a file, and for a path that names nothing the path as given
// (a run finds it missing then), cleaned and with the platform's separators. Nothing for
// an empty path or one that the one-line target box cannot hold.
std::optional<QString> TargetOfItem(const QString& path, const FileSystem& files);

} // namespace kovaldi
