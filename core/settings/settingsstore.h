#pragma once

#include "settings/initext.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kovaldi {

// Per-user text settings addressed by application, section and key.
// Linux and other XDG systems: $XDG_CONFIG_HOME/<application>/<application>.conf, an INI
// file with one group per section, read and written as plain text (see initext.h).
// Windows: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// string values, where earlier versions of the program kept them. macOS: the native store.
// Where the program keeps its six inputs.
inline const QString kSettingsApplication = QStringLiteral("Kovaldi");
inline const QString kSettingsSection = QStringLiteral("Config");

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // For each key, the stored text, or its paired default when the entry (or the whole
    // store) cannot be read. The store is read once; reading creates nothing. Only a
    // regular file (or a link to one) is read: anything else counts as unreadable.
    QStringList GetSettings(const QString& application, const QString& section,
                            const SettingsEntries& keysAndDefaults) const;

    // The same, but nothing when the store is there and cannot be read (no permission, not
    // a regular file, a read error): for a caller that must not take defaults for what the
    // user stored. A store that does not exist yet reads as the defaults.
    virtual std::optional<QStringList> ReadSettings(const QString& application,
                                                    const QString& section,
                                                    const SettingsEntries& keysAndDefaults) const;

    // Stores the texts exactly as given, in one go, and has them on disk before returning,
    // since the program may end at any moment afterwards. Returns false, quietly, when it
    // cannot. Where the store is a file, it is read once and replaced at once, so that
    // an interruption leaves either all the old values or all the new ones; the Windows
    // registry writes each value on its own, and one that fails does not stop the others.
    virtual bool SaveSettings(const QString& application, const QString& section,
                              const SettingsEntries& keysAndValues);

    // One entry, through the two above.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    bool SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);
};

// The six inputs that a confirmed run stores and the next start restores, in the order
// the load handling fills the boxes and the run writes them: key and default.
struct StoredInput
{
    const char* key;
    const char* defaultValue;
};
inline constexpr StoredInput kStoredInputs[] = {
    {"LastPath", ""}, {"Header", ""}, {"Footer", ""}, {"Min", "1"}, {"Max", "10"}, {"Beam", "2"},
};

// The six texts in that order, each the stored one or its default.
QStringList LoadInputs(const SettingsStore& store);
// The same, or nothing when the store cannot be read.
std::optional<QStringList> ReadInputs(const SettingsStore& store);

// Stores the six texts, given in that order, and any further entries after them, in one go.
bool SaveInputs(SettingsStore& store, const QStringList& texts,
                const SettingsEntries& further = {});

} // namespace kovaldi
