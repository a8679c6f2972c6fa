#pragma once

#include <QString>

namespace kovaldi {

// Per-user text settings addressed by application, section and key.
// Linux: $XDG_CONFIG_HOME/<application>/<application>.conf, one group per section.
// Windows: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// string values, where earlier versions of the program kept them. macOS: the native store.
// Where the program keeps its six inputs.
inline const QString kSettingsApplication = QStringLiteral("Kovaldi");
inline const QString kSettingsSection = QStringLiteral("Config");

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the entry (or the whole store) cannot be read.
    // Reading creates nothing.
    virtual QString GetSetting(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue) const;

    // Stores the text exactly as given and has it on disk before returning, since the
    // program may end at any moment afterwards. Returns false, quietly, when it cannot.
    virtual bool SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value);
};

} // namespace kovaldi
