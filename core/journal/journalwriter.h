#pragma once

#include "process/processexit.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
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
    QList<std::pair<QString, QString>> inputs; // name and text, in the order given

    static QString NewRunId();
};

// Writes a run's journal as it goes. A line is buffered only after its folder was made and
// reaches the file within kIntervalMs (or when the process ends through EndProcess), in
// one append each time: a process killed at any moment leaves a journal of folders that
// exist, at most the last interval's worth missing. Once a write fails, nothing more is
// written for this run, so that no line is ever joined to the rest of a cut one.
class JournalWriter
{
public:
    static constexpr qint64 kIntervalMs = 33;

    JournalWriter() = default;
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Replaces the journal at path with a new one that starts with header. False when it
    // cannot; the run then goes on without one.
    bool Start(const QString& path, const JournalHeader& header);

    void Made(const QString& name)
    {
        if (!m_file.isOpen())
            return;
        m_buffer += "+ ";
        AppendName(name);
    }

    // Writes out what is buffered.
    void Flush();

    // Writes the end line and closes the journal.
    void Finish(bool stopped);

    bool IsWriting() const { return m_file.isOpen(); }
    // The journal was started and took every line given to it.
    bool HoldsEverything() const { return m_started && !m_failed; }

private:
    void AppendName(const QString& name);
    void Stop();

    QFile m_file;
    bool m_started = false;
    bool m_failed = false;
    QByteArray m_buffer;
    QElapsedTimer m_sinceWrite;
    unsigned m_sinceLook = 0;
    std::unique_ptr<BeforeEndProcess> m_atEnd;
};

} // namespace kovaldi
