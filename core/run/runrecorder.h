#pragma once

#include "files/filesystem.h"
#include "journal/journalwriter.h"
#include "run/runresult.h"

namespace kovaldi {

// Keeps account of a run as it goes, for the window and the command line alike: the
// folders made (in memory and in the journal), the failures by reason, the counts.
class RunRecorder
{
public:
    // target is the absolute target folder, identity the file system's for it; the run's
    // journal is started in journalFolder (empty: none), with the inputs in its header. Without
    // keepRecord the folders made are only counted and journalled, not kept in memory
    // (result.record stays empty): a run that fails every other folder then needs no memory in
    // proportion to its folders. tree: the sub-folders made inside every numbered folder.
    RunRecorder(const QString& target, const FolderSeries& series, const QString& identity,
                const QList<std::pair<QString, QString>>& inputs, const QString& journalFolder,
                bool keepRecord = true, const SubfolderTemplate& tree = {});

    // A run from a list: folders is every folder it will try (its lines and the parents they
    // imply), lines how many of them get the tree inside. The folders are recorded by name.
    struct ListSize
    {
        qint64 folders = 0;
        qint64 lines = 0;
    };
    RunRecorder(const QString& target, ListSize size, const QString& identity,
                const QList<std::pair<QString, QString>>& inputs, const QString& journalFolder,
                bool keepRecord, const SubfolderTemplate& tree);

    // One call per numbered folder tried, with the name inside the target and what became
    // of it. Nothing is made inside one that was not made: its sub-folders leave the total.
    void Tried(qint64 index, const QString& name, const CreateResult& result)
    {
        if (result.made) {
            if (m_keepRecord)
                m_result.record.Add(index);
            ++m_result.made;
            m_journal.Made(name);
        } else {
            m_result.failures.Add(name, result);
            m_result.total -= m_result.subfoldersEach;
        }
        m_journal.Tried();
    }

    // One call per sub-folder tried, after its parents: its numbered folder's index, its
    // entry in the template, its full name inside the target and what became of it.
    void TriedSubfolder(qint64 index, qsizetype entry, const QString& name,
                        const CreateResult& result)
    {
        if (result.made) {
            if (m_keepRecord)
                m_result.record.AddSubfolder(index, entry);
            ++m_result.made;
            ++m_result.subfoldersMade;
            m_journal.Made(name);
        } else {
            m_result.failures.Add(name, result);
        }
    }

    // A run from a list: one call per folder tried, by its name inside the target, and per
    // sub-folder tried inside a line's folder. A line's folder (line) carries the tree; a
    // parent a line implies does not.
    void TriedNamed(const QString& name, const CreateResult& result, bool line)
    {
        if (result.made) {
            if (m_keepRecord)
                m_result.record.AddName(name);
            ++m_result.made;
            m_journal.Made(name);
        } else {
            m_result.failures.Add(name, result);
            if (line)
                m_result.total -= m_result.subfoldersEach;
        }
        m_journal.Tried();
    }
    void TriedNamedSubfolder(const QString& name, const CreateResult& result)
    {
        if (result.made) {
            if (m_keepRecord)
                m_result.record.AddName(name);
            ++m_result.made;
            ++m_result.subfoldersMade;
            m_journal.Made(name);
        } else {
            m_result.failures.Add(name, result);
        }
    }

    // A stop left the numbered folder name without some of its sub-folders.
    void CutShort(const QString& name) { m_result.cutTree = name; }

    // Ends the journal; the result is final.
    const RunResult& Finish(bool stopped);

    const RunResult& Result() const { return m_result; }

private:
    void Start(const QString& target, const QString& identity,
               const QList<std::pair<QString, QString>>& inputs, const QString& journalFolder);

    RunResult m_result;
    JournalWriter m_journal;
    bool m_keepRecord;
};

} // namespace kovaldi
