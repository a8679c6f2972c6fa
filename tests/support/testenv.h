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

// The longest folder name the local file system takes, one character repeated: 255 bytes
// of UTF-8 on Linux (NAME_MAX) and other POSIX systems, 255 characters on Windows (NTFS
// counts UTF-16 code units) and macOS (APFS and HFS+ count characters). Basic-plane
// characters only.
QString LongestFolderName(QChar repeated);

} // namespace kovaldi::test
