#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace kovaldi {

// A run's journal is UTF-8 text, one record a line, each line ending in "\n":
//
//   kovaldi-journal 2                 format and version, always the first line
//   run 9f86d081884c7d65              the run's id
//   started 2026-05-04T09:12:30.125Z  UTC
//   target /home/user/photos          the absolute target folder, links resolved
//   identity 0000fd0100000000:131075  the target folder's file system and file number
//   input Header img                  the run's inputs, one a line
//   + img001                          a folder made, in the order made
//   end done                          or "end stopped" (asked to stop) or "end closed"
//                                     (the window closed): the run came to its end
//   undo 2026-05-04T09:20:00.000Z     an undo began
//   - img001                          a folder that undo removed
//   superseded 2026-05-04T10:00:00Z   a later run could not write its own journal: this
//                                     one is no longer the last run's (any place after
//                                     the header)
//
// Every value is escaped (EscapeJournalText), so that a line break or any other character
// in a name keeps to its line; a line that does not end in "\n" was cut short and is not
// read. Format 1 is the same without the identity line.
inline constexpr int kJournalVersion = 2;
inline constexpr char kJournalMagic[] = "kovaldi-journal";
// The longest line a reader takes: a name is at most a path's length (32,767 UTF-16 units
// on Windows, fewer bytes elsewhere), each unit escaped at most to six bytes.
inline constexpr qsizetype kMostJournalLineBytes = 6 * 32768 + 64;

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
