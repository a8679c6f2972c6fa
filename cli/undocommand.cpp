#include "command.h"
#include "progress.h"
#include "stopsignal.h"
#include "utils.h"

#include "files/localfilesystem.h"
#include "files/reasoncodes.h"
#include "journal/journallocation.h"
#include "journal/journalreader.h"
#include "undo/undo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>

namespace kovaldi::cli {

namespace {

class UndoCommand : public Command
{
    Q_DECLARE_TR_FUNCTIONS(UndoCommand)

public:
    QString Name() const override { return QStringLiteral("undo"); }
    CommandLine Declare() const override;
    int Execute(const QCommandLineParser& parser) override;

private:
    // Lists the dry run's names as they come, shows the progress line, passes on a stop.
    struct Observer : UndoObserver
    {
        Observer(const UndoCommand& command, qint64 total, bool shown)
            : command(command), progress(total, shown)
        {}
        void Removed(const QString& name, const RemoveResult& result) override;
        bool StopRequested() override { return StopSignalled(); }

        const UndoCommand& command;
        ProgressLine progress;
        qint64 tried = 0;
        QJsonArray names;
    };

    static int StatusOf(JournalContents::Status status);
    QString JournalError(JournalContents::Status status, const QString& path) const;
    QString TargetError(const UndoReport& report) const;
    void Report(const UndoPlan& plan, const UndoReport& report, const QJsonArray& names,
                int status) const;

    bool m_dryRun = false;
    bool m_json = false;
    bool m_quiet = false;
};

CommandLine UndoCommand::Declare() const
{
    CommandLine line;
    line.description =
        tr("Takes back the last run of Kovaldi, from the window or from %1: removes the folders "
           "it made, newest first, each only while it is an empty folder inside its target; "
           "never anything else, never through a link.")
            .arg(QCoreApplication::applicationName());
    line.options = {
        {{QStringLiteral("n"), QStringLiteral("dry-run")},
         tr("List what would be removed and what would be kept, with reasons; remove nothing.")},
        Texts::JsonOption(),
        Texts::QuietOption()};
    return line;
}

int UndoCommand::Execute(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty()) {
        ErrorLine(tr("undo takes no arguments; given: %1")
                      .arg(Escaped(parser.positionalArguments().first())));
        return kUsageError;
    }
    m_dryRun = parser.isSet(QStringLiteral("dry-run"));
    m_json = parser.isSet(QStringLiteral("json"));
    m_quiet = parser.isSet(QStringLiteral("quiet"));

    // The checks in their order: the journal folder and the journal are the user's alone,
    // no run holds the journal, it is the last run's and can be read; then the work.
    OpenedJournal journal = OpenLastRunJournal(DefaultJournalFolder());
    const JournalContents& contents = journal.contents;
    if (contents.status != JournalContents::Status::Read) {
        ErrorLine(JournalError(contents.status, journal.path));
        return StatusOf(contents.status);
    }
    if (contents.superseded) {
        ErrorLine(tr("the last run could not write its journal, so it cannot be taken back; the "
                     "newest journal is an earlier run's and is not taken back either: %1")
                      .arg(Escaped(journal.path)));
        return kNoInput;
    }
    if (contents.cut && !contents.cutInLastLine && !m_quiet && !m_json)
        Err(tr("The journal is not valid past its first %1 bytes; what comes before is taken "
               "back.")
                .arg(contents.validBytes) +
            QLatin1Char('\n'));

    const UndoPlan plan = PlanFromJournal(contents, journal.path);
    UndoRecord record;
    if (!m_dryRun)
        record.Begin(journal.file, contents, plan.runId);
    LocalFileSystem fileSystem;
    WatchStopSignals();
    Observer observer(*this, plan.names.size(), !m_quiet && ErrIsTerminal());
    const UndoReport report = Undo(fileSystem, plan, m_dryRun ? UndoMode::DryRun : UndoMode::Remove,
                                   &observer, m_dryRun ? nullptr : &record);
    observer.progress.Clear();

    int status = kAllMade;
    if (report.stopped)
        status = kStopped;
    else if (report.target != TargetState::Opened)
        status = kAllFailed;
    else if (!m_dryRun && report.kept > 0)
        status = report.removed == 0 ? kAllFailed : kSomeFailed;
    else if (!m_dryRun && !plan.complete && !plan.names.isEmpty())
        status = kSomeFailed;
    Report(plan, report, observer.names, status);
    if (report.target != TargetState::Opened)
        ErrorLine(TargetError(report) + QStringLiteral(": ") + Escaped(plan.target));
    return status;
}

QString TargetStateCode(TargetState state)
{
    switch (state) {
    case TargetState::Opened:
        return QStringLiteral("opened");
    case TargetState::Gone:
        return QStringLiteral("gone");
    case TargetState::LinkOnTheWay:
        return QStringLiteral("link-on-the-way");
    case TargetState::NotTheSame:
        return QStringLiteral("not-the-same");
    case TargetState::AccessRefused:
        return QStringLiteral("access-refused");
    case TargetState::Other:
        break;
    }
    return QStringLiteral("other");
}

int UndoCommand::StatusOf(JournalContents::Status status)
{
    using S = JournalContents::Status;
    switch (status) {
    case S::Locked:
        return kJournalBusy;
    case S::NotTrusted:
    case S::FolderNotTrusted:
    case S::AccessRefused:
        return kJournalNotTrusted;
    default:
        return kNoInput;
    }
}

void UndoCommand::Observer::Removed(const QString& name, const RemoveResult& result)
{
    progress.Tick(++tried);
    if (!command.m_dryRun)
        return;
    const QString action = result.removed ? QStringLiteral("remove") : QStringLiteral("keep");
    if (command.m_json) {
        QJsonObject entry{{QStringLiteral("name"), name}, {QStringLiteral("action"), action}};
        if (!result.removed) {
            entry[QStringLiteral("reason")] = ReasonCode(result.reason);
            entry[QStringLiteral("text")] = Texts::Reason(result.reason, result.systemText);
        }
        names.append(entry);
        return;
    }
    QString line = action.leftJustified(7) + Escaped(name);
    if (!result.removed)
        line += QLatin1String("  (") + ReasonCode(result.reason) + QLatin1Char(')');
    Out(line + QLatin1Char('\n'));
}

QString UndoCommand::JournalError(JournalContents::Status status, const QString& path) const
{
    using S = JournalContents::Status;
    switch (status) {
    case S::Missing:
        return tr("no last run to take back: there is no journal in %1").arg(Escaped(path));
    case S::NotAFile:
        return tr("the journal cannot be opened as a file: %1").arg(Escaped(path));
    case S::AccessRefused:
        return tr("the journal cannot be read: access refused: %1").arg(Escaped(path));
    case S::NotTrusted:
        return tr("the journal is not taken back: it is not yours, or others may write it: %1")
            .arg(Escaped(path));
    case S::FolderNotTrusted:
        return tr("no journal is taken back: their folder is not yours, or others may write it: "
                  "%1")
            .arg(Escaped(path));
    case S::Locked:
        return tr("a run is still writing the journal (or another undo holds it); try again "
                  "once it has ended: %1")
            .arg(Escaped(path));
    case S::UnknownFormat:
        return tr("not a journal this version can read: %1").arg(Escaped(path));
    case S::NoTarget:
    case S::Read:
        break;
    }
    return tr("the journal names no target folder: %1").arg(Escaped(path));
}

QString UndoCommand::TargetError(const UndoReport& report) const
{
    switch (report.target) {
    case TargetState::Opened:
        break;
    case TargetState::Gone:
        return tr("the target folder is gone; nothing removed");
    case TargetState::LinkOnTheWay:
        return tr("a symbolic link now stands in the target folder's path; nothing removed");
    case TargetState::NotTheSame:
        return tr("the target folder's path now names another folder; nothing removed");
    case TargetState::AccessRefused:
        return tr("the target folder cannot be reached: access refused; nothing removed");
    case TargetState::Other:
        return tr("the target folder cannot be opened: %1; nothing removed").arg(report.targetText);
    }
    return {};
}

void UndoCommand::Report(const UndoPlan& plan, const UndoReport& report, const QJsonArray& names,
                         int status) const
{
    if (m_json) {
        QJsonObject byReason;
        for (const auto& [reason, count] : report.keptByReason)
            byReason[ReasonCode(reason)] = byReason[ReasonCode(reason)].toInteger() + count;
        QJsonArray kept;
        for (const UndoReport::Kept& item : report.keptItems)
            kept.append(
                QJsonObject{{QStringLiteral("name"), item.name},
                            {QStringLiteral("reason"), ReasonCode(item.reason)},
                            {QStringLiteral("text"), Texts::Reason(item.reason, item.systemText)}});
        QJsonObject document{
            {QStringLiteral("command"), QStringLiteral("undo")},
            {QStringLiteral("dryRun"), m_dryRun},
            {QStringLiteral("journal"), plan.journalPath},
            {QStringLiteral("runId"), plan.runId},
            {QStringLiteral("target"), plan.target},
            {QStringLiteral("counts"),
             QJsonObject{{QStringLiteral("total"), qint64(plan.names.size())},
                         {QStringLiteral("removed"), report.removed},
                         {QStringLiteral("kept"), report.kept},
                         {QStringLiteral("notTried"), report.notTried},
                         {QStringLiteral("keptByReason"), byReason}}},
            {QStringLiteral("targetState"), TargetStateCode(report.target)},
            {QStringLiteral("stopped"), report.stopped},
            {QStringLiteral("journalComplete"), plan.complete},
            {QStringLiteral("kept"), kept},
            {QStringLiteral("keptLeftOut"), report.kept - qint64(report.keptItems.size())},
            {QStringLiteral("exitStatus"), status}};
        if (m_dryRun)
            document[QStringLiteral("names")] = names;
        OutJson(document);
        return;
    }
    if (m_quiet)
        return;
    QString text;
    if (plan.names.isEmpty())
        text = tr("Nothing to take back in %1.").arg(Escaped(plan.target));
    else if (m_dryRun)
        text = tr("Dry run in %1: %2 folders would be removed, %3 kept; nothing removed.")
                   .arg(Escaped(plan.target))
                   .arg(report.removed)
                   .arg(report.kept);
    else
        text = tr("Removed %1 of %2 folders in %3.")
                   .arg(report.removed)
                   .arg(plan.names.size())
                   .arg(Escaped(plan.target));
    text += QLatin1Char('\n');
    if (report.kept > 0) {
        text += tr("Kept: %1").arg(report.kept) + QLatin1Char('\n');
        for (const auto& [reason, count] : report.keptByReason)
            text += QStringLiteral("  %1: %2\n").arg(Texts::Reason(reason, QString())).arg(count);
        if (!m_dryRun) {
            for (const UndoReport::Kept& item : report.keptItems)
                text +=
                    QStringLiteral("  %1  (%2)\n").arg(Escaped(item.name), ReasonCode(item.reason));
        }
    }
    if (report.stopped)
        text += tr("Stopped by a signal; not tried: %1. \"%2 undo\" takes back the rest.")
                    .arg(report.notTried)
                    .arg(QCoreApplication::applicationName()) +
                QLatin1Char('\n');
    if (!plan.complete && !m_dryRun)
        text += tr("The journal has no end: the run was killed, or its journal could not be "
                   "written to the end. Folders it made after the last one the journal names "
                   "may remain.") +
                QLatin1Char('\n');
    Err(text);
}

} // namespace

std::unique_ptr<Command> NewUndoCommand()
{
    return std::make_unique<UndoCommand>();
}

} // namespace kovaldi::cli
