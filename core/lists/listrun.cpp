#include "lists/listrun.h"

#include "files/filesystem.h"
#include "naming/naming.h"
#include "run/runrecorder.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"
#include "subfolders/subfoldertemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace kovaldi {

namespace {

QString Native(const QString& path, QChar separator)
{
    QString native = path;
    if (separator != u'/')
        native.replace(u'/', separator);
    return native;
}

} // namespace

ListPlan ListPlan::Of(FolderList list, const FileSystem& fileSystem, const QString& baseFolder)
{
    ListPlan plan;
    plan.list = std::move(list);
    ListChecker checker(fileSystem, baseFolder);
    QStringList implied;
    for (qsizetype i = 0; i < plan.list.lines.size(); ++i) {
        const ListLine& line = plan.list.lines[i];
        implied.clear();
        const ListLineState state = checker.Check(line, &plan.invalidReason, nullptr, &implied);
        plan.states.append(state);
        switch (state) {
        case ListLineState::Invalid:
            plan.invalid = i;
            return plan;
        case ListLineState::Duplicate:
            ++plan.duplicates;
            continue;
        case ListLineState::New:
            ++plan.newLines;
            break;
        case ListLineState::ExistsAsFolder:
            ++plan.existingFolders;
            break;
        case ListLineState::ExistsAsFile:
            ++plan.existingFiles;
            break;
        }
        for (QString& parent : implied) {
            if (checker.KindOf(parent) == EntryKind::Nothing) {
                plan.steps.append({std::move(parent), false});
                ++plan.parents;
            }
        }
        plan.steps.append({line.path, true});
    }
    plan.invalidReason.clear();
    return plan;
}

QStringList ParentsOf(const QString& path)
{
    QStringList parents;
    for (qsizetype i = path.indexOf(u'/'); i > 0; i = path.indexOf(u'/', i + 1))
        parents << path.left(i);
    return parents;
}

QString InvalidLineMessage(const ListLine& line, const QString& reason)
{
    return QStringLiteral("一覧の %L1 行目は作成できません。\n%2").arg(line.line).arg(reason);
}

bool MakeListFolders(FileSystem& fileSystem, const QString& baseFolder, const ListPlan& plan,
                     const SubfolderTemplate& tree, RunRecorder& recorder,
                     ListRunObserver& observer)
{
    const QChar separator = fileSystem.Separator();
    const qint64 total = plan.Folders();
    // Every folder is made inside the target folder opened once.
    const std::unique_ptr<TargetFolder> targetFolder = fileSystem.OpenTarget(baseFolder);
    bool stopped = false;
    for (qint64 tried = 0; tried < total && !stopped;) {
        const ListPlan::Step& step = plan.steps[tried];
        const QString name = Native(step.path, separator);
        observer.Making(name);
        const CreateResult made = targetFolder->MakeFolder(name);
        recorder.TriedNamed(name, made, step.line);
        // Inside a line's folder this run made, the template's folders, a stop taking effect
        // after the one being made.
        if (step.line && made.made && !tree.IsEmpty()) {
            const QString prefix = name + separator;
            targetFolder->MakeSubfolders(name, tree, [&](qsizetype entry, const CreateResult& r) {
                const QString subfolder = prefix + tree.PathWith(entry, separator);
                recorder.TriedNamedSubfolder(subfolder, r);
                observer.Making(subfolder);
                const bool more = entry + 1 < tree.Count() || tried + 1 < total;
                if (more && observer.StopRequested()) {
                    stopped = true;
                    if (entry + 1 < tree.Count())
                        recorder.CutShort(name);
                }
                return !stopped;
            });
        }
        observer.Tried(++tried, total);
        if (!stopped && tried < total && observer.StopRequested())
            stopped = true;
    }
    return stopped;
}

namespace {

// The window as a list run follows it.
class WindowObserver : public ListRunObserver
{
public:
    explicit WindowObserver(RunWindow& window) : m_window(window) {}
    void Making(const QString& name) override
    {
        m_window.SetFolderStatus(name, QStringLiteral(" 作成中・・・"));
        m_window.PumpEvents();
    }
    void Tried(qint64 tried, qint64 total) override
    {
        // A single folder has no share of a whole: the bar stays where the lock put it.
        if (total > 1)
            m_window.SetProgress(float(double(tried - 1) / double(total - 1) * 100));
        m_window.PumpEvents();
    }
    bool StopRequested() override { return m_window.StopRequested(); }

private:
    RunWindow& m_window;
};

} // namespace

RunResult RunList(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings,
                  const ListRunInputs& inputs, const RunOptions& options)
{
    const QString target = window.TargetFolderText();
    if (target.isEmpty()) {
        window.Tell(QStringLiteral("パスを入力してください。"), MessageKind::Warning);
        return {};
    }
    const QString baseFolder = BuildBaseFolder(target, fileSystem.Separator());
    ListNumbering numbering{inputs.numbered, DigitCountOf(window.DigitCountText()), 1,
                            std::max<qint64>(1, window.Step()), inputs.separator};
    if (inputs.numbered) {
        const std::optional<double> min = WholePart(window.MinimumText());
        if (!FitsFolderNumber(min)) {
            window.Tell(QStringLiteral("最小値は最大値より小さい値にしてください。"),
                        MessageKind::Warning);
            return {};
        }
        numbering.first = qint64(*min);
    }
    if (!fileSystem.FolderExists(baseFolder)) {
        window.Tell(QStringLiteral("指定したパスが見つかりません。"), MessageKind::Warning);
        return {};
    }
    QString error;
    std::optional<FolderList> list = FolderList::FromText(inputs.text, numbering, &error);
    if (!list) {
        window.Tell(error, MessageKind::Warning);
        return {};
    }
    const ListPlan plan = ListPlan::Of(std::move(*list), fileSystem, baseFolder);
    if (plan.invalid >= 0) {
        window.Tell(InvalidLineMessage(plan.list.lines[plan.invalid], plan.invalidReason),
                    MessageKind::Warning);
        return {};
    }
    const SubfolderTemplate tree = window.Subfolders() ? *window.Subfolders() : SubfolderTemplate();

    RunFigures figures;
    figures.target = fileSystem.AbsoluteFolder(baseFolder);
    figures.fromList = true;
    figures.count = figures.checked = plan.Lines();
    figures.existingFolders = plan.existingFolders;
    figures.existingFiles = plan.existingFiles;
    figures.duplicates = plan.duplicates;
    figures.parents = plan.parents;
    figures.subfoldersEach = tree.Count();
    for (qsizetype i = 0; i < plan.states.size(); ++i) {
        if (plan.states[i] == ListLineState::Duplicate)
            continue;
        if (figures.firstName.isEmpty())
            figures.firstName = plan.list.lines[i].path;
        figures.lastName = plan.list.lines[i].path;
    }
    if (!window.Confirm(QStringLiteral("フォルダ作成の一括処理を行います。"), figures))
        return {};

    window.LockInputs();

    QList<std::pair<QString, QString>> named{
        {QStringLiteral("LastPath"), target},
        {QStringLiteral("List"), inputs.keptIn},
        {QStringLiteral("ListNumbered"),
         inputs.numbered ? QStringLiteral("1") : QStringLiteral("0")}};
    if (inputs.numbered)
        named += {{QStringLiteral("Min"), window.MinimumText()},
                  {QStringLiteral("Beam"), window.DigitCountText()},
                  {QStringLiteral("Step"), QString::number(numbering.step)},
                  {QStringLiteral("ListSeparator"), inputs.separator}};
    if (!tree.IsEmpty())
        named.append({QStringLiteral("Subfolders"), tree.Text()});
    RunRecorder recorder(figures.target, {plan.Folders(), plan.Lines()},
                         fileSystem.FolderIdentity(figures.target), named, options.journalFolder,
                         true, tree);
    WindowObserver observer(window);
    const bool stopped = MakeListFolders(fileSystem, baseFolder, plan, tree, recorder, observer);
    const RunResult& result = recorder.Finish(stopped);
    TellRunOutcome(window, result);

    window.UnlockInputs();

    if (!inputs.keptIn.isEmpty())
        KeepList(inputs.keptIn, inputs.text);
    SaveInputs(settings, BoxTexts(window), window.FurtherSettings());
    return result;
}

QString DefaultListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kovaldi/list.txt");
}

QString ReadKeptList(const QString& path)
{
    // A kept list is at most kMostListLines lines of names; anything far larger is not one.
    constexpr qint64 kLargest = 64 * 1024 * 1024;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kLargest + 1);
    if (bytes.size() > kLargest)
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    return decoder.hasError() ? QString() : text;
}

bool KeepList(const QString& path, const QString& text)
{
    QSaveFile file(path);
    const QFileInfo info(path);
    if (!info.dir().exists() && !info.dir().mkpath(QStringLiteral(".")))
        return false;
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

} // namespace kovaldi
