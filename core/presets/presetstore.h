#pragma once

#include "settings/initext.h"

#include <QList>
#include <QString>
#include <optional>

namespace kovaldi {

// A named set of what a run uses, kept as the texts the settings hold under the same keys
// (LastPath, Header, Footer, Min, Max, Beam, Step, Subfolders, ListNumbered,
// ListSeparator), so that loading one fills the boxes through their normal rules.
struct Preset
{
    QString name;
    SettingsEntries values;

    // The text of a key, or nothing when the preset does not hold it.
    std::optional<QString> Value(const QString& key) const;
};

// What reading the presets file found.
enum class PresetFileState {
    Read,       // the file, read and understood
    Missing,    // no file yet: no presets
    NotAFile,   // a folder, a FIFO, a device or anything else in its place
    TooLarge,   // larger than any presets file the program writes
    Unreadable, // there, but it cannot be read
    Damaged,    // not JSON, or JSON cut short
    Foreign,    // JSON, but not a presets file of this program
};

struct PresetFile
{
    PresetFileState state = PresetFileState::Missing;
    QList<Preset> presets; // in the user's order
    QString detail;        // for Damaged: where the JSON breaks, as Qt says it

    // A file that saving would replace without losing what the user kept there.
    bool Replaceable() const
    {
        return state == PresetFileState::Read || state == PresetFileState::Missing;
    }
};

// The largest presets file read; a larger one is refused rather than read into memory.
inline constexpr qint64 kLargestPresetFile = 8 * 1024 * 1024;

// The per-user presets file: $XDG_CONFIG_HOME/Kovaldi/presets.json on Linux and other XDG
// systems, the configuration folder the system names elsewhere.
QString DefaultPresetsPath();

// A preset's name as kept: blanks at either end cut. Empty when nothing else is left,
// which no preset may be called.
QString PresetName(const QString& typed);

// The presets file at one path. Reading never changes the file; saving replaces it at
// once (all the old presets or all the new ones after an interruption), and only when it
// was read, was missing, or the caller has asked the user (`replaceDamaged`).
class PresetStore
{
public:
    explicit PresetStore(QString path = DefaultPresetsPath());

    const QString& Path() const { return m_path; }
    PresetFile Read() const;
    bool Save(const QList<Preset>& presets, bool replaceDamaged = false) const;

private:
    QString m_path;
};

// The index of the preset called name, or -1.
qsizetype IndexOfPreset(const QList<Preset>& presets, const QString& name);
// The presets with `preset` in place of the one of its name, or added at the end.
QList<Preset> WithPreset(QList<Preset> presets, const Preset& preset);
// The presets without the one called name.
QList<Preset> WithoutPreset(QList<Preset> presets, const QString& name);

} // namespace kovaldi
