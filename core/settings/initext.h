#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace kovaldi {

// Key and text pairs of one section.
using SettingsEntries = QList<std::pair<QString, QString>>;

// The INI text of the settings file, in the form Qt's settings class has always written it
// (UTF-8; sections in brackets; keys and values with its escapes, quotes and "@" prefix),
// read and written as plain texts only: a value is never decoded into anything but text,
// so no content can make reading recurse, allocate without bound or fail. Both functions
// take time in proportion to the text.

// The values of the given keys in the given section; nothing for a key that is missing.
// Where a key appears more than once the last one counts, as it always has. A value
// written as a list (bare commas) reads as its items joined with ", ".
QList<std::optional<QString>> ReadIniValues(const QByteArray& text, const QString& section,
                                            const QStringList& keys);

// The text with the given keys of the section set to the given values. Every other byte
// stays as it was: lines of existing keys are rewritten in place, missing keys go after
// the section's last line, and a missing section is added at the end.
QByteArray WriteIniValues(const QByteArray& text, const QString& section,
                          const SettingsEntries& entries);

} // namespace kovaldi
