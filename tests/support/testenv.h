#pragma once

#include <QString>

namespace kovaldi::test {

// Points the per-user configuration at a fresh temporary folder for the rest of the
// process. Call before anything opens the settings (initTestCase is early enough).
QString UseTemporaryConfigHome();

// The settings file the store writes under that folder.
QString SettingsFilePath();

// Removes the settings file and its folder, so the next read starts from an empty store.
void ClearSettings();

} // namespace kovaldi::test
