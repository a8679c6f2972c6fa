#include "undo/undo.h"

#include "journal/journalreader.h"
#include "run/runresult.h"

namespace kovaldi {

UndoPlan PlanFromRun(const RunResult& result)
{
    UndoPlan plan;
    plan.target = result.record.Target();
    plan.names = result.record.NamesInOrderMade();
    if (result.journalHoldsRun) {
        plan.journalPath = result.journalPath;
        plan.runId = result.runId;
    }
    return plan;
}

UndoPlan PlanFromJournal(const JournalContents& journal, const QString& journalPath)
{
    UndoPlan plan;
    if (journal.status != JournalContents::Status::Read)
        return plan;
    plan.target = journal.header.target;
    plan.names = journal.NamesLeft();
    plan.journalPath = journalPath;
    plan.runId = journal.header.runId;
    return plan;
}

UndoReport Undo(FileSystem& fileSystem, const UndoPlan& plan, UndoMode mode,
                const UndoProgress& each)
{
    UndoReport report;
    QStringList removed;
    for (qsizetype i = plan.names.size() - 1; i >= 0; --i) {
        const QString& name = plan.names[i];
        const RemoveResult result =
            fileSystem.RemoveEmptyFolder(plan.target, name, mode == UndoMode::DryRun);
        if (each)
            each(name, result);
        if (result.removed) {
            ++report.removed;
            removed.append(name);
            continue;
        }
        ++report.kept;
        ++report.keptByReason[result.reason];
        if (report.keptItems.size() < UndoReport::kNameCap)
            report.keptItems.append({name, result.reason, result.systemText});
    }
    if (mode == UndoMode::Remove && !removed.isEmpty() && !plan.journalPath.isEmpty())
        report.journalUpdated = AppendUndoToJournal(plan.journalPath, plan.runId, removed);
    return report;
}

} // namespace kovaldi
