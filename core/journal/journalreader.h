#pragma once

#include "journal/journalfile.h"
#include "journal/journalwriter.h"

#include <QStringList>
#include <functional>

namespace kovaldi {

// A journal as far as it could be read. Reading stops at the first line that is not valid
// (hand-edited, cut short by a crash or a full disk, longer than any line a journal holds)
// and keeps what came before it.
struct JournalContents
{
    enum class Status {
        Missing,          // no journal
        NotAFile,         // a symbolic link, a folder or anything but a regular file
        AccessRefused,    // the user may not read it
        NotTrusted,       // not the user's own, or others can write it
        FolderNotTrusted, // the folder that holds it is not the user's own, or others can
                          // write it
        Locked,           // a run (or an undo) holds it now
        UnknownFormat,    // not a journal, or one of another format version
        NoTarget,         // the header does not name an absolute target folder (and, from
                          // format 2 on, its identity)
        Read,
    };
    Status status = Status::Missing;
    int version = 0;
    JournalHeader header;
    QStringList made;    // in the order made
    QStringList removed; // by earlier undos, in the order removed
    bool ended = false;  // the run came to its end ("end" line)
    bool stopped = false;
    bool closed = false;        // it ended as the window closed
    bool superseded = false;    // a later run could not write its own journal
    bool cut = false;           // reading stopped before the end of the file...
    bool cutInLastLine = false; // ...only at a last line never finished, as a crash leaves it
    qint64 validBytes = 0;      // how much of the file was read

    // The folders made and not removed since, in the order made.
    QStringList NamesLeft() const;
};

// Reads the journal that file holds.
JournalContents ReadJournal(JournalFile& file);
// Reads the journal at path as it stands, without taking its lock or judging whose it is:
// for a look at it, never for an undo.
JournalContents ReadJournal(const QString& path);

// The last run's journal, as an undo takes it: the newest in folder, opened only if the
// folder and the file are the user's alone, locked, and read. The file stays open (and
// locked) for the undo to record what it removed.
struct OpenedJournal
{
    QString path;
    JournalFile file;
    JournalContents contents;
};
OpenedJournal OpenLastRunJournal(const QString& folder);

// The record of an undo in its run's journal, written as it goes: "undo" and the time when
// it begins, then each folder removed, written out as a run's names are.
class UndoRecord
{
public:
    UndoRecord() = default;
    ~UndoRecord() { Flush(); }
    UndoRecord(const UndoRecord&) = delete;
    UndoRecord& operator=(const UndoRecord&) = delete;

    // Begins the record in file, the journal of run runId as contents read it. False,
    // writing nothing, when that journal is no longer that run's or was cut short
    // anywhere but in its last line.
    bool Begin(JournalFile& file, const JournalContents& contents, const QString& runId);
    void Removed(const QString& name);
    // Writes out what is buffered; true while every line went.
    bool Flush();
    bool IsRecording() const { return m_file != nullptr; }

private:
    JournalFile* m_file = nullptr;
    QByteArray m_buffer;
    QElapsedTimer m_sinceWrite;
};

} // namespace kovaldi
