#pragma once

#include "presets/presetstore.h"

#include <QString>
#include <optional>

namespace kovaldi::cli {

// The one line that says why the presets file cannot be used; empty when it can.
QString PresetFileError(const PresetFile& file, const QString& path);

// The saved preset of a typed name (blanks at its ends cut), or nothing with the error.
std::optional<Preset> FindPreset(const QString& typed, QString& error);

} // namespace kovaldi::cli
