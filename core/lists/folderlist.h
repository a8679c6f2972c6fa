#pragma once

#include "files/filesystem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace kovaldi {

// The most lines a list of folders may hold; a longer one is refused whole.
inline constexpr qsizetype kMostListLines = 100000;

// How the lines of a list are numbered, when they are: the number of line i (from 0,
// blank lines not counted) is first + i * step, padded to the digit count, then the
// separator, then the line.
struct ListNumbering
{
    bool numbered = false;
    int digits = 2;
    qint64 first = 1;
    qint64 step = 1;
    QString separator = QStringLiteral("_");
};

// What one line of a list is, against the target folder and the lines before it.
enum class ListLineState { New, ExistsAsFolder, ExistsAsFile, Duplicate, Invalid };

struct ListLine
{
    qsizetype line = 0; // from 1, as an editor counts them
    QString path;       // its names joined with "/", numbered when the list is
    bool cut = false;   // blanks were cut from its ends
};

// Folders from a list a user typed or pasted, one a line: "/" nests (on Windows "\" too),
// blank lines are skipped, blanks at the ends of a line are cut.
struct FolderList
{
    QList<ListLine> lines;
    qsizetype blankLines = 0;
    qsizetype cutLines = 0;

    // The list of a text; nothing, with the message, when it holds more than
    // kMostListLines lines or only blank ones.
    static std::optional<FolderList> FromText(QStringView text, const ListNumbering& numbering,
                                              QString* error);
};

// Why the folder path of a line cannot be made, or nothing: a tab (more than one column
// of a table), an empty name between two "/", ".", "..", or a name the system cannot take.
std::optional<QString> ListPathFault(const QString& path);

// Checks lines in order, a page at a time if need be: each against the lines before it and
// against what is in the base folder now. The base folder is listed once, at the first
// question: a path whose first name is not an entry there names nothing, without asking the
// file system; the others (and every path, when the folder cannot be listed) are asked.
class ListChecker
{
public:
    ListChecker(const FileSystem& fileSystem, QString baseFolder);
    // The state of the next line; `reason` tells why an invalid one is, `earlier` which line
    // a duplicate repeats (or implies, as a parent), `implied` gets the parents that the line
    // is the first to imply, outermost first.
    ListLineState Check(const ListLine& line, QString* reason = nullptr,
                        qsizetype* earlier = nullptr, QStringList* implied = nullptr);
    // What a path inside the base folder ("/" between its names) names now.
    EntryKind KindOf(const QString& path);

private:
    const FileSystem& m_fileSystem;
    QString m_baseFolder;
    QHash<QString, qsizetype> m_earlier; // and the line that named it first
    // The base folder's entries: exactly as listed, and folded as a file system that
    // ignores case and Unicode form would compare them.
    bool m_listed = false;
    std::optional<QHash<QString, EntryKind>> m_entries; // nothing: it could not be listed
    QSet<QString> m_foldedEntries;
};

} // namespace kovaldi
