#include "run/runrecorder.h"

namespace kovaldi {

RunRecorder::RunRecorder(const QString& target, const FolderSeries& series,
                         const QList<std::pair<QString, QString>>& inputs,
                         const QString& journalPath, bool keepRecord)
    : m_keepRecord(keepRecord)
{
    m_result.confirmed = true;
    m_result.total = series.count;
    m_result.record = MadeRecord(target, series);
    m_result.journalPath = journalPath;
    m_result.runId = JournalHeader::NewRunId();
    m_journal.Start(journalPath, {m_result.runId, QDateTime::currentDateTimeUtc(), target, inputs});
}

const RunResult& RunRecorder::Finish(bool stopped)
{
    m_result.stopped = stopped;
    m_journal.Finish(stopped);
    m_result.journalHoldsRun = m_journal.HoldsEverything();
    return m_result;
}

} // namespace kovaldi
