#pragma once

#include <QByteArray>
#include <QString>

namespace kovaldi {

// One journal file held open: by the run that writes it, from its creation to its end, and
// by an undo that takes it back. Whoever holds it holds its lock, so a run and an undo (or
// two undos) never work on one journal at once; the lock goes with the process, however it
// ends. Lines are only ever appended.
class JournalFile
{
public:
    enum class Problem {
        None,
        Missing,
        NotAFile,      // a symbolic link, a folder or anything but a regular file
        AccessRefused, // it cannot be opened for reading and writing
        NotTrusted,    // not the user's own, or others can write it
        Locked,        // a run (or an undo) holds it
        Other,
    };

    JournalFile() = default;
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    JournalFile(JournalFile&& other) noexcept;
    JournalFile& operator=(JournalFile&& other) noexcept;

    // A new journal at path: created afresh (never through a link), readable and writable
    // by the user alone, locked.
    bool Create(const QString& path);
    // An existing journal, to read and to append to. Refused unless it is a regular file
    // of the user's that nobody else can write (on Windows the user's profile keeps
    // others out); locked, or Locked when another holds it.
    Problem Open(const QString& path);

    bool IsOpen() const;
    const QString& Path() const { return m_path; }

    // Appends the bytes in one write; false when not all of them went.
    bool Append(const QByteArray& bytes);
    // Cuts the file to size bytes.
    bool Truncate(qint64 size);
    // Reads up to size bytes at offset; the count read, or -1.
    qint64 ReadAt(qint64 offset, char* data, qint64 size);
    qint64 Size() const;

    // Deletes the journal it holds, then closes it.
    void Remove();
    void Close();

private:
    QString m_path;
#if defined(Q_OS_WIN)
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// Marks the journal at path as superseded by a run that could not write its own: one line
// appended, without taking the lock (the run holding it may still be writing). False when
// it cannot be.
bool MarkJournalSuperseded(const QString& path);

} // namespace kovaldi
