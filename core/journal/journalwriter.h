#pragma once

#include "journal/journalfile.h"
#include "process/processexit.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <memory>
#include <utility>

namespace kovaldi {

// What the journal says about a run before its first folder.
struct JournalHeader
{
    QString runId;
    QDateTime started;                         // UTC
    QString target;                            // absolute
    QString identity;                          // the target folder's (FileSystem::FolderIdentity)
    QList<std::pair<QString, QString>> inputs; // name and text, in the order given

    static QString NewRunId();
};

// Writes a run's own journal as it goes, in a file of its own in the journal folder,
// locked while the run lasts. A line is buffered only after its folder was made; the
// clock is read at every folder tried, made or not, and what is buffered reaches the file
// once kIntervalMs have passed since the last write, before a modal window holds the event
// loop (DoBeforeEndWork), and when the process ends through EndProcess ("end closed"):
// a process killed at any moment leaves a journal of folders that exist, a name missing
// at most kIntervalMs plus the call under way. Once a write fails, nothing more is
// written for this run, so that no line is ever joined to the rest of a cut one.
class JournalWriter
{
public:
    static constexpr qint64 kIntervalMs = 33;

    // What became of the journal of a run.
    enum class Fate {
        Holds,         // it names every folder made
        Cut,           // a write failed: it names the folders up to a point
        NoneMarked,    // none could be written; the previous run's is marked superseded
        NoneUnmarked,  // none could be written, nor the previous one marked: an undo would
                       // find the previous run
        NoneNoneOlder, // none could be written, and there is no earlier one
    };

    JournalWriter() = default;
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Creates the run's journal in folder and writes its header. False when it cannot: the
    // run then goes on without one, and the newest journal there is marked superseded.
    bool Start(const QString& folder, const JournalHeader& header);

    void Made(const QString& name)
    {
        if (!m_file.IsOpen())
            return;
        m_buffer += "+ ";
        AppendName(name);
    }
    // Called for every folder tried, after Made when it was made.
    void Tried()
    {
        if (!m_buffer.isEmpty() && m_sinceWrite.elapsed() >= kIntervalMs)
            Flush();
    }

    // Writes out what is buffered.
    void Flush();

    // Writes the end line and closes the journal; a journal of a run that made no folder
    // is deleted, so that it does not hide the last run that made some.
    void Finish(bool stopped, bool madeAny);

    bool IsWriting() const { return m_file.IsOpen(); }
    // The journal of this run, from its start (empty: none, or deleted at the end).
    const QString& Path() const { return m_path; }
    Fate FateOfJournal() const { return m_fate; }
    bool HoldsEverything() const { return m_fate == Fate::Holds; }

private:
    void AppendName(const QString& name);
    void Stop();
    void Supersede(const QString& folder);

    JournalFile m_file;
    QString m_path;
    Fate m_fate = Fate::NoneNoneOlder;
    QByteArray m_buffer;
    QElapsedTimer m_sinceWrite;
    std::unique_ptr<BeforeEndProcess> m_atEnd;
};

} // namespace kovaldi
