#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace kovaldi {

// The last-run journal is UTF-8 text, one record a line, each line ending in "\n":
//
//   kovaldi-journal 1                 format and version, always the first line
//   run 9f86d081884c7d65              the run's id
//   started 2026-05-04T09:12:30.125Z  UTC
//   target /home/user/photos          the absolute target folder
//   input Header img                  the run's inputs, one a line
//   + img001                          a folder made, in the order made
//   end done                          or "end stopped": the run came to its end
//   undo 2026-05-04T09:20:00.000Z     an undo began
//   - img001                          a folder that undo removed
//
// Every value is escaped (EscapeJournalText), so that a line break or any other character
// in a name keeps to its line; a line that does not end in "\n" was cut short and is not
// read.
inline constexpr int kJournalVersion = 1;
inline constexpr char kJournalMagic[] = "kovaldi-journal";

// "%" becomes "%25"; control characters, U+0085, U+2028, U+2029, U+FEFF and lone
// surrogates become "%XX" (a character below U+0100) or "%uXXXX" (a UTF-16 code unit); a
// space at the end becomes "%20", so that an editor trimming lines cannot change a name.
// Everything else is left as it is.
QString EscapeJournalText(const QString& text);

// Appends the escaped text to a line being built, as UTF-8.
void AppendEscaped(QByteArray& line, const QString& text);

// The text back; nothing when the escaped form is not one EscapeJournalText writes.
std::optional<QString> UnescapeJournalText(QStringView escaped);

} // namespace kovaldi
