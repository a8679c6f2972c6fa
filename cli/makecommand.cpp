#include "command.h"
#include "presetfile.h"
#include "progress.h"
#include "stopsignal.h"
#include "utils.h"

#include "files/localfilesystem.h"
#include "files/reasoncodes.h"
#include "journal/journallocation.h"
#include "lists/folderlist.h"
#include "lists/listrun.h"
#include "naming/naming.h"
#include "paths/targetdefaults.h"
#include "process/programfolder.h"
#include "run/existingnames.h"
#include "run/runfigures.h"
#include "run/runrecorder.h"
#include "settings/settingsstore.h"
#include "subfolders/subfoldertemplate.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QStringDecoder>
#include <limits>

namespace kovaldi::cli {

namespace {

constexpr qint64 kLowestNumber = std::numeric_limits<qint32>::min();
constexpr qint64 kHighestNumber = std::numeric_limits<qint32>::max();
// The digit counts the window's digit box keeps: -9 to 99 (0 or less: no padding).
constexpr qint64 kLowestDigits = -9;
constexpr qint64 kHighestDigits = 99;
constexpr qint64 kHighestStep = kHighestNumber - kLowestNumber;

struct Inputs
{
    QString target;     // as given, or as stored
    QString targetPath; // what the folders are made in
    QString header;
    QString footer;
    qint64 min = 1;
    qint64 max = 10;
    qint64 digits = 2;
    qint64 step = 1;
    bool fromSettings = false;
    SubfolderTemplate subfolders; // made inside every numbered folder made
    QString listFile;             // empty: the numbered series
    ListNumbering numbering;
};

struct Options
{
    bool dryRun = false;
    bool json = false;
    bool quiet = false;
};

class MakeCommand : public Command
{
    Q_DECLARE_TR_FUNCTIONS(MakeCommand)

public:
    QString Name() const override { return {}; }
    CommandLine Declare() const override;
    int Execute(const QCommandLineParser& parser) override;

private:
    // Fills m_inputs; an error's text when the arguments or the stored inputs do not do.
    QString ReadInputs(const QCommandLineParser& parser);
    QString CheckTarget();
    FolderSeries Series() const;
    QJsonObject InputsJson() const;

    int DryRun();
    int Make();
    // A run from a list: the list read and each line checked, or a refusal's text.
    QString ReadList();
    int ListDryRun();
    int ListMake();
    void Report(const QString& target, const RunResult& result, int status) const;

    Inputs m_inputs;
    Options m_options;
    ListPlan m_plan;
    LocalFileSystem m_fileSystem;
    QString m_baseFolder;
};

// The number of an option's text or nothing, with the error's text.
std::optional<qint64> NumberFrom(const QString& source, const QString& text, qint64 lowest,
                                 qint64 highest, QString& error);

class NumberTexts
{
    Q_DECLARE_TR_FUNCTIONS(MakeCommand)

public:
    static QString NotWhole(const QString& source, const QString& text, qint64 lowest,
                            qint64 highest)
    {
        return tr("%1: \"%2\" is not a whole number from %3 to %4")
            .arg(source, Escaped(text))
            .arg(lowest)
            .arg(highest);
    }
};

std::optional<qint64> NumberFrom(const QString& source, const QString& text, qint64 lowest,
                                 qint64 highest, QString& error)
{
    const std::optional<qint64> number = WholeNumber(text, lowest, highest);
    if (!number && error.isEmpty())
        error = NumberTexts::NotWhole(source, text, lowest, highest);
    return number;
}

int ExitStatusOf(const RunResult& result)
{
    if (result.stopped)
        return kStopped;
    if (result.Failed() == 0)
        return kAllMade;
    return result.made == 0 ? kAllFailed : kSomeFailed;
}

} // namespace

CommandLine MakeCommand::Declare() const
{
    CommandLine line;
    line.description =
        tr("Makes the folders header + number + footer in TARGET, for every number from the "
           "minimum to the maximum, the number padded with zeros to the digit count.\n"
           "\"%1 undo [--dry-run]\" takes back the last run.")
            .arg(QCoreApplication::applicationName());
    line.options = {
        {QStringLiteral("header"), tr("The text before the number (default: none)."), tr("TEXT")},
        {QStringLiteral("footer"), tr("The text after the number (default: none)."), tr("TEXT")},
        {QStringLiteral("min"), tr("The first number (default: 1)."), tr("N")},
        {QStringLiteral("max"), tr("The last number, at most (default: 10)."), tr("N")},
        {QStringLiteral("digits"),
         tr("The digit count that numbers are padded to with zeros, from -9 to 99; 0 or less "
            "pads nothing (default: 2)."),
         tr("N")},
        {QStringLiteral("step"), tr("The distance from one number to the next (default: 1)."),
         tr("N")},
        {QStringLiteral("subfolder"),
         tr("A folder to make inside every numbered folder made (with --from-list: inside "
            "each line's folder made): a relative path, \"/\" nesting; its parents are "
            "implied. May be given more than once."),
         tr("PATH")},
        {QStringLiteral("subfolders-from"),
         tr("Make the folders inside FOLDER (folders only, no links; at most 1000, 32 levels "
            "deep) inside every numbered folder made (with --from-list: each line's folder)."),
         tr("FOLDER")},
        {QStringLiteral("from-settings"),
         tr("Start from the six inputs, the step, the sub-folders and the list's numbering "
            "the window stored last; the options given override them.")},
        {QStringLiteral("preset"),
         tr("Start from the saved preset NAME (\"%1 presets\" lists them); the options given "
            "override it, and it overrides --from-settings.")
             .arg(QCoreApplication::applicationName()),
         tr("NAME")},
        {QStringLiteral("from-list"),
         tr("Make the folders named in FILE, one a line (\"-\": standard input); \"/\" "
            "nests, blank lines are skipped and blanks at a line's ends cut. --header, "
            "--footer and --max take no part."),
         tr("FILE")},
        {QStringLiteral("number"),
         tr("With --from-list: put the number of each line before it, from --min, --step "
            "apart, padded to --digits, then the separator.")},
        {QStringLiteral("separator"),
         tr("With --number: the text between the number and the line (default: \"_\")."),
         tr("TEXT")},
        {{QStringLiteral("n"), QStringLiteral("dry-run")},
         tr("List every name, marked new or existing, and make nothing.")},
        Texts::JsonOption(),
        Texts::QuietOption()};
    line.positionalName = QStringLiteral("TARGET");
    line.positionalSyntax = tr("[TARGET]");
    line.positionalHelp = tr("The folder to make the folders in.");
    return line;
}

int MakeCommand::Execute(const QCommandLineParser& parser)
{
    m_options = {parser.isSet(QStringLiteral("dry-run")), parser.isSet(QStringLiteral("json")),
                 parser.isSet(QStringLiteral("quiet"))};

    QString error = ReadInputs(parser);
    if (error.isEmpty())
        error = CheckTarget();
    if (error.isEmpty() && !m_inputs.listFile.isEmpty())
        error = ReadList();
    if (!error.isEmpty()) {
        ErrorLine(error);
        return kUsageError;
    }
    if (!m_inputs.listFile.isEmpty())
        return m_options.dryRun ? ListDryRun() : ListMake();
    return m_options.dryRun ? DryRun() : Make();
}

QString MakeCommand::ReadInputs(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return tr("one target folder only; also given: %1").arg(Escaped(positional.at(1)));

    // The texts as the window's boxes would hold them: the defaults of its first start, or
    // what it stored last.
    QStringList texts;
    for (const StoredInput& input : kStoredInputs)
        texts << QLatin1String(input.defaultValue);
    m_inputs.fromSettings = parser.isSet(QStringLiteral("from-settings"));
    QString storedStep;
    QString storedSubfolders;
    QString storedNumbered;
    QString storedSeparator;
    if (m_inputs.fromSettings) {
        const SettingsStore store;
        const std::optional<QStringList> stored = kovaldi::ReadInputs(store);
        const std::optional<QStringList> further =
            store.ReadSettings(kSettingsApplication, kSettingsSection,
                               {{QStringLiteral("Step"), QString()},
                                {QStringLiteral("Subfolders"), QString()},
                                {QStringLiteral("ListNumbered"), QString()},
                                {QStringLiteral("ListSeparator"), QString()}});
        if (!stored || !further)
            return tr("the stored settings cannot be read");
        texts = *stored;
        storedStep = further->value(0);
        storedSubfolders = further->value(1);
        storedNumbered = further->value(2);
        storedSeparator = further->value(3);
    }
    // Where each text came from, for the errors.
    QStringList sources;
    for (const StoredInput& input : kStoredInputs)
        sources << tr("stored %1").arg(QLatin1String(input.key));
    QString stepText = storedStep.isEmpty() ? QStringLiteral("1") : storedStep;
    QString stepSource = tr("stored %1").arg(QStringLiteral("Step"));
    if (parser.isSet(QStringLiteral("preset"))) {
        QString error;
        const std::optional<Preset> preset =
            FindPreset(parser.value(QStringLiteral("preset")), error);
        if (!preset)
            return error;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString key = QLatin1String(kStoredInputs[i].key);
            if (const std::optional<QString> value = preset->Value(key)) {
                texts[i] = *value;
                sources[i] = tr("preset \"%1\" %2").arg(Escaped(preset->name), key);
            }
        }
        storedNumbered = preset->Value(QStringLiteral("ListNumbered")).value_or(storedNumbered);
        storedSeparator = preset->Value(QStringLiteral("ListSeparator")).value_or(storedSeparator);
        if (const std::optional<QString> value = preset->Value(QStringLiteral("Step"))) {
            stepText = *value;
            stepSource = tr("preset \"%1\" %2").arg(Escaped(preset->name), QStringLiteral("Step"));
        }
    }
    if (parser.isSet(QStringLiteral("step")))
        stepText = parser.value(QStringLiteral("step"));
    const QStringList options{QString(),
                              QStringLiteral("header"),
                              QStringLiteral("footer"),
                              QStringLiteral("min"),
                              QStringLiteral("max"),
                              QStringLiteral("digits")};
    for (qsizetype i = 1; i < options.size(); ++i) {
        if (parser.isSet(options[i])) {
            texts[i] = parser.value(options[i]);
            sources[i] = QLatin1String("--") + options[i];
        }
    }

    m_inputs.target = texts[0];
    m_inputs.targetPath = texts[0];
    if (!positional.isEmpty()) {
        m_inputs.target = m_inputs.targetPath = positional.first();
    } else if (!m_inputs.target.isEmpty()) {
        // A stored target means what it meant to the window: "~" is the home folder, and a
        // relative one starts where the window's do.
        const QString home = HomeFolder();
        const QString expanded = ExpandHomeShorthand(m_inputs.target, home);
        const TargetDefaults defaults =
            ChooseTargetDefaults(ExecutableFolder(), home, CanCreateFoldersIn);
        m_inputs.targetPath = QDir::isAbsolutePath(expanded)
                                  ? expanded
                                  : defaults.relativeBase + kPathSeparator + expanded;
    }
    m_inputs.header = texts[1];
    m_inputs.footer = texts[2];

    QString error;
    const auto first = NumberFrom(sources[3], texts[3], kLowestNumber, kHighestNumber, error);
    const auto last = NumberFrom(sources[4], texts[4], kLowestNumber, kHighestNumber, error);
    const auto count = NumberFrom(sources[5], texts[5], kLowestDigits, kHighestDigits, error);
    const auto distance =
        NumberFrom(parser.isSet(QStringLiteral("step")) ? QStringLiteral("--step") : stepSource,
                   stepText, 1, kHighestStep, error);
    if (!error.isEmpty())
        return error;
    m_inputs.min = *first;
    m_inputs.max = *last;
    m_inputs.digits = *count;
    m_inputs.step = *distance;

    // The sub-folders: the options given, else the ones stored.
    const QStringList paths = parser.values(QStringLiteral("subfolder"));
    std::optional<SubfolderTemplate> tree;
    if (parser.isSet(QStringLiteral("subfolders-from"))) {
        if (!paths.isEmpty())
            return tr("--subfolder and --subfolders-from cannot be given together");
        tree =
            SubfolderTemplate::FromFolder(parser.value(QStringLiteral("subfolders-from")), &error);
    } else if (!paths.isEmpty()) {
        // Each option is a line of its own: a path holding a line break is refused whole.
        for (const QString& path : paths)
            if (path.contains(QLatin1Char('\n')) || path.trimmed().isEmpty())
                return tr("--subfolder: \"%1\" is not a relative path").arg(Escaped(path));
        tree = SubfolderTemplate::FromLines(paths, &error);
    } else {
        tree = SubfolderTemplate::FromText(storedSubfolders, &error);
    }
    if (!tree)
        return error;
    m_inputs.subfolders = *tree;
    if (m_inputs.target.isEmpty())
        return tr("no target folder given");
    if (parser.isSet(QStringLiteral("from-list"))) {
        // The window's numbering of its list when the settings are read; the options given
        // override it.
        m_inputs.listFile = parser.value(QStringLiteral("from-list"));
        m_inputs.numbering = {parser.isSet(QStringLiteral("number")) ||
                                  storedNumbered == QLatin1String("1"),
                              int(m_inputs.digits), m_inputs.min, m_inputs.step,
                              storedSeparator.isEmpty() ? QStringLiteral("_") : storedSeparator};
        if (parser.isSet(QStringLiteral("separator")))
            m_inputs.numbering.separator = parser.value(QStringLiteral("separator"));
        return {};
    }
    if (parser.isSet(QStringLiteral("number")) || parser.isSet(QStringLiteral("separator")))
        return tr("--number and --separator go with --from-list");
    if (m_inputs.max < m_inputs.min)
        return tr("the maximum (%1) is below the minimum (%2)").arg(m_inputs.max).arg(m_inputs.min);
    if (NamesLeaveTarget(m_inputs.header, m_inputs.footer))
        return tr("a \"..\" in the header or the footer would make the folders outside the "
                  "target folder, where undo cannot take them back");
    return {};
}

QString MakeCommand::CheckTarget()
{
    m_baseFolder = BuildBaseFolder(m_inputs.targetPath, m_fileSystem.Separator());
    if (m_fileSystem.FolderExists(m_baseFolder))
        return {};
    if (m_fileSystem.KindOf(m_inputs.targetPath) == EntryKind::File)
        return tr("the target is not a folder: %1").arg(Escaped(m_inputs.targetPath));
    return tr("the target folder does not exist: %1").arg(Escaped(m_inputs.targetPath));
}

FolderSeries MakeCommand::Series() const
{
    return {m_inputs.header,
            m_inputs.footer,
            BuildZeroMask(int(m_inputs.digits)),
            m_inputs.min,
            (m_inputs.max - m_inputs.min) / m_inputs.step + 1,
            m_inputs.step};
}

QJsonObject MakeCommand::InputsJson() const
{
    QJsonObject inputs{{QStringLiteral("target"), m_inputs.target},
                       {QStringLiteral("header"), m_inputs.header},
                       {QStringLiteral("footer"), m_inputs.footer},
                       {QStringLiteral("min"), m_inputs.min},
                       {QStringLiteral("max"), m_inputs.max},
                       {QStringLiteral("digits"), m_inputs.digits},
                       {QStringLiteral("step"), m_inputs.step},
                       {QStringLiteral("fromSettings"), m_inputs.fromSettings}};
    // Only a run with sub-folders names them.
    if (!m_inputs.subfolders.IsEmpty())
        inputs.insert(QStringLiteral("subfolders"),
                      QJsonArray::fromStringList(m_inputs.subfolders.Text().split(u'\n')));
    // A run from a list says so; a series run reads as it always has.
    if (!m_inputs.listFile.isEmpty()) {
        inputs.insert(QStringLiteral("fromList"), m_inputs.listFile);
        inputs.insert(QStringLiteral("numbered"), m_inputs.numbering.numbered);
        inputs.insert(QStringLiteral("separator"), m_inputs.numbering.separator);
    }
    return inputs;
}

int MakeCommand::DryRun()
{
    const FolderSeries series = Series();
    ExistingNames existing(m_fileSystem, m_baseFolder, series);
    existing.Load(QDeadlineTimer(QDeadlineTimer::Forever));
    const QString target = m_fileSystem.AbsoluteFolder(m_baseFolder);

    // The list goes out as it is made, so that memory stays the same for any count.
    if (m_options.json) {
        QByteArray head = CompactJson({{QStringLiteral("command"), QStringLiteral("make")},
                                       {QStringLiteral("dryRun"), true},
                                       {QStringLiteral("inputs"), InputsJson()},
                                       {QStringLiteral("target"), target}});
        head.chop(1);
        OutRaw(head + ",\"names\":[\n");
    }
    qint64 counts[3] = {0, 0, 0}; // by EntryKind
    const SubfolderTemplate& tree = m_inputs.subfolders;
    const QChar separator = m_fileSystem.Separator();
    bool listedAny = false;
    QString name;
    // A list that cannot be written ends: it is all a dry run does.
    for (qint64 i = 0; i < series.count && !OutputFailed(); ++i) {
        const EntryKind kind = existing.KindAt(i);
        ++counts[int(kind)];
        const QString state = kind == EntryKind::Nothing ? QStringLiteral("new")
                              : kind == EntryKind::Folder
                                  ? ReasonCode(FailureReason::ExistsAsFolder)
                                  : ReasonCode(FailureReason::ExistsAsFile);
        series.NameInto(i, name);
        const auto list = [&](const QString& listed) {
            if (m_options.json) {
                OutRaw((listedAny ? ",\n" : "") + CompactJson({{QStringLiteral("name"), listed},
                                                               {QStringLiteral("state"), state}}));
            } else {
                Out(state.leftJustified(17) + Escaped(listed) + QLatin1Char('\n'));
            }
            listedAny = true;
        };
        list(name);
        // Inside a numbered folder that exists, nothing would be made.
        if (kind == EntryKind::Nothing)
            for (qsizetype entry = 0; entry < tree.Count(); ++entry)
                list(name + separator + tree.PathWith(entry, separator));
    }
    if (OutputFailed())
        return kOutputError; // said once the command ends
    const qint64 subfolders = counts[int(EntryKind::Nothing)] * tree.Count();
    const qint64 fresh = counts[int(EntryKind::Nothing)] + subfolders;
    const qint64 folders = counts[int(EntryKind::Folder)];
    const qint64 files = counts[int(EntryKind::File)];
    if (m_options.json) {
        QJsonObject tail{{QStringLiteral("counts"),
                          QJsonObject{{QStringLiteral("total"), series.count + subfolders},
                                      {QStringLiteral("new"), fresh},

                                      {QStringLiteral("existsAsFolder"), folders},
                                      {QStringLiteral("existsAsFile"), files}}}};
        // Only a run with sub-folders counts them apart.
        if (subfolders > 0) {
            QJsonObject counts = tail.value(QStringLiteral("counts")).toObject();
            counts.insert(QStringLiteral("subfolders"), subfolders);
            tail.insert(QStringLiteral("counts"), counts);
        }
        OutRaw("\n]," + CompactJson(tail).mid(1) + '\n');
    } else if (!m_options.quiet) {
        Err(tr("Dry run in %1: %2 folders, %3 new, %4 exist as folders, %5 exist as files; "
               "nothing made.")
                .arg(Escaped(target))
                .arg(series.count + subfolders)
                .arg(fresh)
                .arg(folders)
                .arg(files) +
            QLatin1Char('\n'));
    }
    return kAllMade;
}

int MakeCommand::Make()
{
    const FolderSeries series = Series();
    QList<std::pair<QString, QString>> inputs{
        {QStringLiteral("LastPath"), m_inputs.target},
        {QStringLiteral("Header"), m_inputs.header},
        {QStringLiteral("Footer"), m_inputs.footer},
        {QStringLiteral("Min"), QString::number(m_inputs.min)},
        {QStringLiteral("Max"), QString::number(m_inputs.max)},
        {QStringLiteral("Beam"), QString::number(m_inputs.digits)},
        {QStringLiteral("Step"), QString::number(m_inputs.step)}};
    const SubfolderTemplate& tree = m_inputs.subfolders;
    if (!tree.IsEmpty())
        inputs.append({QStringLiteral("Subfolders"), tree.Text()});

    WatchStopSignals();
    // Undo reads the journal: the folders made need no record in memory.
    const QString target = m_fileSystem.AbsoluteFolder(m_baseFolder);
    RunRecorder recorder(target, series, m_fileSystem.FolderIdentity(target), inputs,
                         DefaultJournalFolder(), false, tree);
    const QChar separator = m_fileSystem.Separator();
    const std::unique_ptr<TargetFolder> targetFolder = m_fileSystem.OpenTarget(m_baseFolder);
    QString name;
    ProgressLine progress(series.count, !m_options.quiet && ErrIsTerminal());
    bool stopped = false;
    for (qint64 i = 0; i < series.count; ++i) {
        series.NameInto(i, name);
        const CreateResult result = targetFolder->MakeFolder(name);
        recorder.Tried(i, name, result);
        // Inside a folder this run made, the template's folders; a stop takes effect after
        // the one being made.
        if (result.made && !tree.IsEmpty()) {
            targetFolder->MakeSubfolders(
                name, tree, [&](qsizetype entry, const CreateResult& made) {
                    recorder.TriedSubfolder(
                        i, entry, name + separator + tree.PathWith(entry, separator), made);
                    const bool more = entry + 1 < tree.Count() || i + 1 < series.count;
                    if (more && StopSignalled()) {
                        stopped = true;
                        if (entry + 1 < tree.Count())
                            recorder.CutShort(name);
                    }
                    return !stopped;
                });
            if (stopped)
                break;
        }
        progress.Tick(i + 1);
        // A stop during the last folder leaves nothing undone: no stop.
        if (StopSignalled() && i + 1 < series.count) {
            stopped = true;
            break;
        }
    }
    progress.Clear();
    const RunResult& result = recorder.Finish(stopped);
    const int status = ExitStatusOf(result);
    Report(target, result, status);
    return status;
}

void MakeCommand::Report(const QString& target, const RunResult& result, int status) const
{
    if (m_options.json) {
        QJsonArray failures;
        QJsonObject byReason;
        for (const FailureLog::Group& group : result.failures.Groups()) {
            const QString code = ReasonCode(group.reason);
            byReason[code] = byReason[code].toInteger() + group.count;
            const QString text = Texts::Reason(group.reason, group.systemText);
            for (const QString& name : group.names)
                failures.append(QJsonObject{{QStringLiteral("name"), name},
                                            {QStringLiteral("reason"), code},
                                            {QStringLiteral("text"), text}});
        }
        // The journal that holds this run, whatever other runs wrote meanwhile.
        const QJsonValue journal = result.journalPath.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                                : QJsonValue(result.journalPath);
        QJsonObject counts{{QStringLiteral("total"), result.total},
                           {QStringLiteral("made"), result.made},
                           {QStringLiteral("failed"), result.Failed()},
                           {QStringLiteral("notTried"), result.Remaining()},
                           {QStringLiteral("failedByReason"), byReason}};
        // Only a run with sub-folders counts them apart, as its dry run does.
        if (result.subfoldersEach > 0)
            counts.insert(QStringLiteral("subfoldersMade"), result.subfoldersMade);
        OutJson(
            {{QStringLiteral("command"), QStringLiteral("make")},
             {QStringLiteral("dryRun"), false},
             {QStringLiteral("inputs"), InputsJson()},
             {QStringLiteral("target"), target},
             {QStringLiteral("counts"), counts},
             {QStringLiteral("failures"), failures},
             {QStringLiteral("failuresLeftOut"), result.failures.NamesLeftOut()},
             {QStringLiteral("stopped"), result.stopped},
             {QStringLiteral("treeCutShort"),
              result.cutTree.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(result.cutTree)},
             {QStringLiteral("journal"), journal},
             {QStringLiteral("journalComplete"), result.journalHoldsRun},
             {QStringLiteral("undoFindsEarlierRun"),
              result.journalFate == JournalWriter::Fate::NoneUnmarked},
             {QStringLiteral("exitStatus"), status}});
        return;
    }
    if (m_options.quiet)
        return;
    QString report =
        tr("Made %1 of %2 folders in %3.").arg(result.made).arg(result.total).arg(Escaped(target)) +
        QLatin1Char('\n');
    if (result.subfoldersEach > 0)
        report += tr("  numbered folders: %1, sub-folders: %2")
                      .arg(result.made - result.subfoldersMade)
                      .arg(result.subfoldersMade) +
                  QLatin1Char('\n');
    if (result.Failed() > 0) {
        report += tr("Not made: %1").arg(result.Failed()) + QLatin1Char('\n');
        for (const FailureLog::Group& group : result.failures.Groups())
            report += QStringLiteral("  %1: %2\n")
                          .arg(Escaped(Texts::Reason(group.reason, group.systemText)))
                          .arg(group.count);
    }
    if (result.stopped)
        report +=
            tr("Stopped by a signal; not tried: %1").arg(result.Remaining()) + QLatin1Char('\n');
    if (!result.cutTree.isEmpty())
        report += tr("Stopped inside %1: some of its sub-folders were not made.")
                      .arg(Escaped(result.cutTree)) +
                  QLatin1Char('\n');
    const QString undo = QCoreApplication::applicationName() + QStringLiteral(" undo");
    switch (result.journalFate) {
    case JournalWriter::Fate::Holds:
        break;
    case JournalWriter::Fate::Cut:
        report += tr("The journal could not be written to the end: \"%1\" can take this run "
                     "back only as far as it names it.")
                      .arg(undo) +
                  QLatin1Char('\n');
        break;
    case JournalWriter::Fate::NoneMarked:
    case JournalWriter::Fate::NoneNoneOlder:
        report +=
            tr("The journal could not be written: \"%1\" cannot take this run back.").arg(undo) +
            QLatin1Char('\n');
        break;
    case JournalWriter::Fate::NoneUnmarked:
        report += tr("The journal could not be written: \"%1\" cannot take this run back, "
                     "and would take back an earlier run instead.")
                      .arg(undo) +
                  QLatin1Char('\n');
        break;
    }
    Err(report);
}

QString MakeCommand::ReadList()
{
    // Larger than any list of the most lines a person would keep.
    constexpr qint64 kLargestList = 64 * 1024 * 1024;
    const bool standardInput = m_inputs.listFile == QLatin1String("-");
    const QString shown = standardInput ? tr("standard input") : Escaped(m_inputs.listFile);
    QFile file;
    const bool opened = standardInput
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(m_inputs.listFile), file.open(QIODevice::ReadOnly));
    if (!opened)
        return tr("the list cannot be read: %1 (%2)").arg(shown, file.errorString());
    // A pipe gives what it holds at the moment: read until its end.
    QByteArray bytes;
    while (bytes.size() <= kLargestList) {
        const QByteArray chunk = file.read(qMin<qint64>(1 << 20, kLargestList + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError)
        return tr("the list cannot be read: %1 (%2)").arg(shown, file.errorString());
    if (bytes.size() > kLargestList)
        return tr("the list is larger than %1 MiB: %2").arg(kLargestList >> 20).arg(shown);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError() || bytes.contains('\0'))
        return tr("the list is not text (UTF-8): %1").arg(shown);
    QString error;
    std::optional<FolderList> list = FolderList::FromText(text, m_inputs.numbering, &error);
    if (!list)
        return QStringLiteral("%1: %2").arg(shown, error);
    m_plan = ListPlan::Of(std::move(*list), m_fileSystem, m_baseFolder);
    if (m_plan.invalid >= 0)
        return tr("%1, line %2: %3")
            .arg(shown)
            .arg(m_plan.list.lines[m_plan.invalid].line)
            .arg(m_plan.invalidReason);
    if (m_plan.list.cutLines > 0 && !m_options.quiet && !m_options.json)
        Err(tr("Blanks cut from the ends of %1 lines.").arg(m_plan.list.cutLines) +
            QLatin1Char('\n'));
    return {};
}

namespace {

QString StateCode(ListLineState state)
{
    switch (state) {
    case ListLineState::New:
        return QStringLiteral("new");
    case ListLineState::ExistsAsFolder:
        return ReasonCode(FailureReason::ExistsAsFolder);
    case ListLineState::ExistsAsFile:
        return ReasonCode(FailureReason::ExistsAsFile);
    case ListLineState::Duplicate:
        return QStringLiteral("duplicate");
    case ListLineState::Invalid:
        break;
    }
    return QStringLiteral("invalid");
}

} // namespace

int MakeCommand::ListDryRun()
{
    const QString target = m_fileSystem.AbsoluteFolder(m_baseFolder);
    const FolderList& list = m_plan.list;
    const SubfolderTemplate& tree = m_inputs.subfolders;
    QJsonArray names;
    for (qsizetype i = 0; i < list.lines.size() && !OutputFailed(); ++i) {
        const QString state = StateCode(m_plan.states[i]);
        const QString& path = list.lines[i].path;
        if (m_options.json)
            names.append(QJsonObject{{QStringLiteral("line"), list.lines[i].line},
                                     {QStringLiteral("name"), path},
                                     {QStringLiteral("state"), state}});
        else
            Out(state.leftJustified(17) + Escaped(path) + QLatin1Char('\n'));
        // Inside a line's folder that the run would make, the template's folders.
        if (m_plan.states[i] != ListLineState::New)
            continue;
        for (qsizetype entry = 0; entry < tree.Count(); ++entry) {
            const QString subfolder = path + u'/' + tree.Entries()[entry].path;
            if (m_options.json)
                names.append(QJsonObject{{QStringLiteral("line"), list.lines[i].line},
                                         {QStringLiteral("name"), subfolder},
                                         {QStringLiteral("state"), state}});
            else
                Out(state.leftJustified(17) + Escaped(subfolder) + QLatin1Char('\n'));
        }
    }
    if (OutputFailed())
        return kOutputError;
    const qint64 subfolders = m_plan.newLines * tree.Count();
    if (m_options.json) {
        QJsonObject counts{{QStringLiteral("total"), list.lines.size()},
                           {QStringLiteral("new"), m_plan.newLines},
                           {QStringLiteral("existsAsFolder"), m_plan.existingFolders},
                           {QStringLiteral("existsAsFile"), m_plan.existingFiles},
                           {QStringLiteral("duplicate"), m_plan.duplicates},
                           {QStringLiteral("blankLines"), list.blankLines},
                           {QStringLiteral("cutLines"), list.cutLines}};
        // Only a run with sub-folders counts them apart.
        if (!tree.IsEmpty())
            counts.insert(QStringLiteral("subfolders"), subfolders);
        OutJson({{QStringLiteral("command"), QStringLiteral("make")},
                 {QStringLiteral("dryRun"), true},
                 {QStringLiteral("inputs"), InputsJson()},
                 {QStringLiteral("target"), target},
                 {QStringLiteral("names"), names},
                 {QStringLiteral("counts"), counts}});
    } else if (!m_options.quiet) {
        Err(tr("Dry run in %1: %2 lines, %3 new, %4 exist as folders, %5 exist as files, %6 "
               "repeat an earlier line; nothing made.")
                .arg(Escaped(target))
                .arg(list.lines.size())
                .arg(m_plan.newLines)
                .arg(m_plan.existingFolders)
                .arg(m_plan.existingFiles)
                .arg(m_plan.duplicates) +
            QLatin1Char('\n'));
        if (!tree.IsEmpty())
            Err(tr("Inside each new line's folder, %1 sub-folders: %2 in all.")
                    .arg(tree.Count())
                    .arg(subfolders) +
                QLatin1Char('\n'));
    }
    return kAllMade;
}

namespace {

// A run from a list as the terminal follows it.
class TerminalObserver : public ListRunObserver
{
public:
    explicit TerminalObserver(ProgressLine& progress) : m_progress(progress) {}
    void Making(const QString& name) override { Q_UNUSED(name); }
    void Tried(qint64 tried, qint64 total) override
    {
        Q_UNUSED(total);
        m_progress.Tick(tried);
    }
    bool StopRequested() override { return StopSignalled(); }

private:
    ProgressLine& m_progress;
};

} // namespace

int MakeCommand::ListMake()
{
    const SubfolderTemplate& tree = m_inputs.subfolders;
    QList<std::pair<QString, QString>> inputs{
        {QStringLiteral("LastPath"), m_inputs.target},
        {QStringLiteral("List"), m_inputs.listFile},
        {QStringLiteral("ListNumbered"),
         m_inputs.numbering.numbered ? QStringLiteral("1") : QStringLiteral("0")}};
    if (m_inputs.numbering.numbered)
        inputs += {{QStringLiteral("Min"), QString::number(m_inputs.min)},
                   {QStringLiteral("Beam"), QString::number(m_inputs.digits)},
                   {QStringLiteral("Step"), QString::number(m_inputs.step)},
                   {QStringLiteral("ListSeparator"), m_inputs.numbering.separator}};
    if (!tree.IsEmpty())
        inputs.append({QStringLiteral("Subfolders"), tree.Text()});

    WatchStopSignals();
    // Undo reads the journal: the folders made need no record in memory.
    const QString target = m_fileSystem.AbsoluteFolder(m_baseFolder);
    RunRecorder recorder(target, {m_plan.Folders(), m_plan.Lines()},
                         m_fileSystem.FolderIdentity(target), inputs, DefaultJournalFolder(), false,
                         tree);
    ProgressLine progress(m_plan.Folders(), !m_options.quiet && ErrIsTerminal());
    TerminalObserver observer(progress);
    const bool stopped =
        MakeListFolders(m_fileSystem, m_baseFolder, m_plan, tree, recorder, observer);
    progress.Clear();
    const RunResult& result = recorder.Finish(stopped);
    const int status = ExitStatusOf(result);
    Report(target, result, status);
    return status;
}

std::unique_ptr<Command> NewMakeCommand()
{
    return std::make_unique<MakeCommand>();
}

} // namespace kovaldi::cli
