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
// read and written as plain texts only, byte for byte as that class reads and writes them:
// every file it writes reads back the same here, and a hand-edited one reads as it reads
// it (a line continued by a backslash or by quotes, a comment after ";", blanks and
// vertical tabs around a key, invalid UTF-8). Of its typed forms only @ByteArray(...)
// (the bytes as UTF-8) and @Invalid() (no value) are decoded; any other is kept as written,
// so no content can make reading recurse, allocate without bound or fail. Two texts that
// class would not keep are written as escapes it reads back the same: a lone surrogate
// (a byte of a name that is not UTF-8) and a byte order mark at the start of a value.
// Both functions take time in proportion to the text.

// The values of the given keys in the given section; nothing for a key that is missing.
// Where a key appears more than once the last one counts, as it always has. A value
// written as a list (bare commas) reads as its items joined with ", ".
QList<std::optional<QString>> ReadIniValues(const QByteArray& text, const QString& section,
                                            const QStringList& keys);

// The text with the given keys of the section set to the given values. Every other byte
// stays as it was: lines of existing keys are rewritten in place (a comment after the
// value stays), missing keys go after the section's last line, and a missing section is
// added at the end. Where the text ends inside quotes, which would take in whatever
// follows, missing keys go right after the section's header, or in a new section before
// that last line.
QByteArray WriteIniValues(const QByteArray& text, const QString& section,
                          const SettingsEntries& entries);

} // namespace kovaldi
