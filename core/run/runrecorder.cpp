#include "run/runrecorder.h"

namespace kovaldi {

RunRecorder::RunRecorder(const QString& target, const FolderSeries& series, const QString& identity,
                         const QList<std::pair<QString, QString>>& inputs,
                         const QString& journalFolder, bool keepRecord,
                         const SubfolderTemplate& tree)
    : m_keepRecord(keepRecord)
{
    m_result.confirmed = true;
    m_result.subfoldersEach = tree.Count();
    m_result.total = series.count * (1 + tree.Count());
    m_result.record = MadeRecord(target, series, tree);
    Start(target, identity, inputs, journalFolder);
}

RunRecorder::RunRecorder(const QString& target, ListSize size, const QString& identity,
                         const QList<std::pair<QString, QString>>& inputs,
                         const QString& journalFolder, bool keepRecord,
                         const SubfolderTemplate& tree)
    : m_keepRecord(keepRecord)
{
    m_result.confirmed = true;
    m_result.subfoldersEach = tree.Count();
    m_result.total = size.folders + size.lines * tree.Count();
    m_result.record = MadeRecord::OfNames(target);
    Start(target, identity, inputs, journalFolder);
}

void RunRecorder::Start(const QString& target, const QString& identity,
                        const QList<std::pair<QString, QString>>& inputs,
                        const QString& journalFolder)
{
    m_result.targetIdentity = identity;
    m_result.runId = JournalHeader::NewRunId();
    m_journal.Start(journalFolder,
                    {m_result.runId, QDateTime::currentDateTimeUtc(), target, identity, inputs});
    m_result.journalPath = m_journal.Path();
}

const RunResult& RunRecorder::Finish(bool stopped)
{
    m_result.stopped = stopped;
    m_journal.Finish(stopped, m_result.made > 0);
    m_result.journalPath = m_journal.Path();
    m_result.journalFate = m_journal.FateOfJournal();
    m_result.journalHoldsRun = m_journal.HoldsEverything() && !m_result.journalPath.isEmpty();
    return m_result;
}

} // namespace kovaldi
