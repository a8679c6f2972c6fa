#include "command.h"
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
    QString JournalError(JournalContents::Status status, const QString& path) const;
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

    const QString path = DefaultJournalPath();
    const JournalContents contents = ReadJournal(path);
    if (contents.status != JournalContents::Status::Read) {
        ErrorLine(JournalError(contents.status, path));
        return kNoInput;
    }
    if (contents.cut && !contents.cutInLastLine && !m_quiet && !m_json)
        Err(tr("The journal is not valid past its first %1 bytes; what comes before is taken "
               "back.")
                .arg(contents.validBytes) +
            QLatin1Char('\n'));

    const UndoPlan plan = PlanFromJournal(contents, path);
    LocalFileSystem fileSystem;
    QJsonArray names;
    const UndoProgress each = [&](const QString& folder, const RemoveResult& result) {
        if (!m_dryRun)
            return;
        const QString action = result.removed ? QStringLiteral("remove") : QStringLiteral("keep");
        if (m_json) {
            QJsonObject entry{{QStringLiteral("name"), folder}, {QStringLiteral("action"), action}};
            if (!result.removed) {
                entry[QStringLiteral("reason")] = ReasonCode(result.reason);
                entry[QStringLiteral("text")] = Texts::Reason(result.reason, result.systemText);
            }
            names.append(entry);
            return;
        }
        QString line = action.leftJustified(7) + Escaped(folder);
        if (!result.removed)
            line += QLatin1String("  (") + ReasonCode(result.reason) + QLatin1Char(')');
        Out(line + QLatin1Char('\n'));
    };
    const UndoReport report =
        Undo(fileSystem, plan, m_dryRun ? UndoMode::DryRun : UndoMode::Remove, each);

    int status = kAllMade;
    if (!m_dryRun && report.kept > 0)
        status = report.removed == 0 ? kAllFailed : kSomeFailed;
    Report(plan, report, names, status);
    return status;
}

QString UndoCommand::JournalError(JournalContents::Status status, const QString& path) const
{
    switch (status) {
    case JournalContents::Status::Missing:
        return tr("no last run to take back: there is no journal at %1").arg(Escaped(path));
    case JournalContents::Status::NotAFile:
        return tr("the journal cannot be opened as a file: %1").arg(Escaped(path));
    case JournalContents::Status::UnknownFormat:
        return tr("not a journal this version can read: %1").arg(Escaped(path));
    case JournalContents::Status::NoTarget:
    case JournalContents::Status::Read:
        break;
    }
    return tr("the journal names no target folder: %1").arg(Escaped(path));
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
                         {QStringLiteral("keptByReason"), byReason}}},
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
    Err(text);
}

} // namespace

std::unique_ptr<Command> NewUndoCommand()
{
    return std::make_unique<UndoCommand>();
}

} // namespace kovaldi::cli
