#include "undo/undo.h"

#include "journal/journalreader.h"
#include "run/runresult.h"

namespace kovaldi {

UndoPlan PlanFromRun(const RunResult& result)
{
    UndoPlan plan;
    plan.target = result.record.Target();
    plan.identity = result.targetIdentity;
    plan.names = result.record.NamesInOrderMade();
    plan.journalPath = result.journalPath;
    plan.runId = result.runId;
    return plan;
}

UndoPlan PlanFromJournal(const JournalContents& journal, const QString& journalPath)
{
    UndoPlan plan;
    if (journal.status != JournalContents::Status::Read)
        return plan;
    plan.target = journal.header.target;
    plan.identity = journal.header.identity;
    plan.names = journal.NamesLeft();
    plan.journalPath = journalPath;
    plan.runId = journal.header.runId;
    plan.complete = journal.ended;
    return plan;
}

UndoReport Undo(FileSystem& fileSystem, const UndoPlan& plan, UndoMode mode, UndoObserver* observer,
                UndoRecord* record)
{
    UndoReport report;
    const qsizetype total = plan.names.size();
    if (total == 0)
        return report;
    const OpenedFolder opened = fileSystem.OpenForUndo(plan.target, plan.identity);
    report.target = opened.state;
    report.targetText = opened.systemText;
    if (!opened.folder) {
        report.notTried = total;
        report.left = plan.names;
        return report;
    }
    const bool dryRun = mode == UndoMode::DryRun;
    QList<bool> removed(total, false);
    for (qsizetype i = total - 1; i >= 0; --i) {
        const QString& name = plan.names[i];
        if (observer)
            observer->Removing(name, total - 1 - i);
        const RemoveResult result = opened.folder->RemoveEmptyFolder(name, dryRun);
        if (observer)
            observer->Removed(name, result);
        if (result.removed) {
            ++report.removed;
            removed[i] = !dryRun;
            if (record && !dryRun)
                record->Removed(name);
        } else {
            ++report.kept;
            ++report.keptByReason[result.reason];
            if (report.keptItems.size() < UndoReport::kNameCap)
                report.keptItems.append({name, result.reason, result.systemText});
        }
        if (i > 0 && observer && observer->StopRequested()) {
            report.stopped = true;
            report.notTried = i;
            break;
        }
    }
    for (qsizetype i = 0; i < total; ++i)
        if (!removed[i])
            report.left.append(plan.names[i]);
    if (record && !dryRun && report.removed > 0)
        report.journalUpdated = record->Flush();
    return report;
}

} // namespace kovaldi
