#pragma once

#include "journal/journalwriter.h"

#include <QStringList>

namespace kovaldi {

// A journal as far as it could be read. Reading stops at the first line that is not valid
// (hand-edited, cut short by a crash) and keeps what came before it.
struct JournalContents
{
    enum class Status {
        Missing,       // no journal
        NotAFile,      // a symbolic link, a folder or something that cannot be opened
        UnknownFormat, // not a journal, or one of another format version
        NoTarget,      // the header does not name an absolute target folder
        Read,
    };
    Status status = Status::Missing;
    int version = 0;
    JournalHeader header;
    QStringList made;    // in the order made
    QStringList removed; // by earlier undos, in the order removed
    bool ended = false;  // the run came to its end ("end" line)
    bool stopped = false;
    bool cut = false;           // reading stopped before the end of the file...
    bool cutInLastLine = false; // ...only at a last line never finished, as a crash leaves it
    qint64 validBytes = 0;      // how much of the file was read

    // The folders made and not removed since, in the order made.
    QStringList NamesLeft() const;
};

JournalContents ReadJournal(const QString& path);

// Appends the record of an undo of run runId to the journal at path: its time and the names
// it removed. False, writing nothing, when the journal there is no longer that run's or
// its last line was cut short.
bool AppendUndoToJournal(const QString& path, const QString& runId, const QStringList& removed);

} // namespace kovaldi
