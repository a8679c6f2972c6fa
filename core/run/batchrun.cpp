#include "run/batchrun.h"

#include "files/filesystem.h"
#include "naming/folderseries.h"
#include "naming/naming.h"
#include "numbers/numbertext.h"
#include "run/runrecorder.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"
#include "subfolders/subfoldertemplate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace kovaldi {

std::optional<double> WholePart(const QString& text)
{
    const std::optional<double> value = ParseNumericText(text);
    if (!value)
        return std::nullopt;
    return std::floor(*value);
}

bool FitsFolderNumber(const std::optional<double>& value)
{
    return value && *value >= std::numeric_limits<qint32>::min() &&
           *value <= std::numeric_limits<qint32>::max();
}

int DigitCountOf(const QString& text)
{
    // Any count past the longest name a file system takes fails every creation the same
    // way, so a wild count is held there instead of building a giant mask.
    constexpr double longest = 256;
    const std::optional<double> value = WholePart(text);
    if (!value)
        return 0;
    return int(std::clamp(*value, -1.0, longest));
}

QStringList BoxTexts(const RunWindow& window)
{
    return {window.TargetFolderText(), window.HeaderText(),  window.FooterText(),
            window.MinimumText(),      window.MaximumText(), window.DigitCountText()};
}

void TellRunOutcome(RunWindow& window, const RunResult& result)
{
    const qint64 failureCount = result.Failed();
    if (result.stopped)
        window.TellOutcome(QStringLiteral("中止しました。"), MessageKind::Information, result);
    else if (failureCount == 0)
        window.TellOutcome(QStringLiteral("完了！"), MessageKind::Information, result);
    else if (result.made == 0)
        window.TellOutcome(QStringLiteral("フォルダの作成に失敗しました。"), MessageKind::Error,
                           result);
    else
        window.TellOutcome(QStringLiteral("完了！（一部作成できなかったフォルダがあります）"),
                           MessageKind::Information, result);
}

namespace {

// The same under their settings keys, as the journal names them, with the step and the
// sub-folders when they are in use.
QList<std::pair<QString, QString>> NamedInputs(const RunWindow& window, qint64 step,
                                               const SubfolderTemplate& tree)
{
    const QStringList texts = BoxTexts(window);
    QList<std::pair<QString, QString>> named;
    for (qsizetype i = 0; i < texts.size(); ++i)
        named.append({QLatin1String(kStoredInputs[i].key), texts[i]});
    if (step != 1)
        named.append({QStringLiteral("Step"), QString::number(step)});
    if (!tree.IsEmpty())
        named.append({QStringLiteral("Subfolders"), tree.Text()});
    return named;
}

} // namespace

RunResult RunBatch(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings,
                   const RunOptions& options)
{
    const std::optional<double> min = WholePart(window.MinimumText());
    const std::optional<double> max = WholePart(window.MaximumText());

    const QString target = window.TargetFolderText();
    if (target.isEmpty()) {
        window.Tell(QStringLiteral("パスを入力してください。"), MessageKind::Warning);
        return {};
    }
    const QString baseFolder = BuildBaseFolder(target, fileSystem.Separator());

    if (!FitsFolderNumber(min) || !FitsFolderNumber(max) || *max < *min) {
        window.Tell(QStringLiteral("最小値は最大値より小さい値にしてください。"),
                    MessageKind::Warning);
        return {};
    }
    const qint64 step = std::max<qint64>(1, window.Step());
    // The index of the last folder: the highest number from the minimum, step by step, that
    // is not past the maximum.
    const qint64 lastIndex = (qint64(*max) - qint64(*min)) / step;
    const SubfolderTemplate tree = window.Subfolders() ? *window.Subfolders() : SubfolderTemplate();

    if (!fileSystem.FolderExists(baseFolder)) {
        window.Tell(QStringLiteral("指定したパスが見つかりません。"), MessageKind::Warning);
        return {};
    }

    const QString zeroMask = BuildZeroMask(DigitCountOf(window.DigitCountText()));
    const FolderSeries series{window.HeaderText(), window.FooterText(), zeroMask,
                              qint64(*min),        lastIndex + 1,       step};

    RunFigures figures =
        CountRunFigures(fileSystem, baseFolder, series, QDeadlineTimer(options.figuresBudget));
    figures.subfoldersEach = tree.Count();
    if (!window.Confirm(QStringLiteral("フォルダ作成の一括処理を行います。"), figures))
        return {};

    window.LockInputs();

    RunRecorder recorder(figures.target, series, fileSystem.FolderIdentity(figures.target),
                         NamedInputs(window, step, tree), options.journalFolder, true, tree);
    bool stopped = false;
    const QString creating = QStringLiteral(" 作成中・・・");
    // The boxes stay locked until the outcome: each name is written once, from the texts as
    // they were locked, for the status line and the folder alike, into one buffer; the
    // folders are made inside the target folder opened once.
    FolderSeries locked = series;
    locked.header = window.HeaderText();
    locked.footer = window.FooterText();
    const std::unique_ptr<TargetFolder> targetFolder = fileSystem.OpenTarget(baseFolder);
    QString name;
    const QChar separator = fileSystem.Separator();
    for (qint64 j = 0; j <= lastIndex && !stopped; ++j) {
        locked.NameInto(j, name);

        window.SetFolderStatus(name, creating);
        window.PumpEvents();

        const CreateResult made = targetFolder->MakeFolder(name);
        recorder.Tried(j, name, made);

        // Inside a folder this run made, the template's folders, a stop taking effect after
        // the one being made.
        if (made.made && !tree.IsEmpty()) {
            const QString prefix = name + separator;
            targetFolder->MakeSubfolders(name, tree, [&](qsizetype entry, const CreateResult& r) {
                const QString subfolder = prefix + tree.PathWith(entry, separator);
                recorder.TriedSubfolder(j, entry, subfolder, r);
                window.SetFolderStatus(subfolder, creating);
                window.PumpEvents();
                const bool more = entry + 1 < tree.Count() || j < lastIndex;
                if (more && window.StopRequested()) {
                    stopped = true;
                    if (entry + 1 < tree.Count())
                        recorder.CutShort(name);
                }
                return !stopped;
            });
        }

        // A single folder has no share of a whole: the bar stays where the lock put it.
        if (lastIndex != 0)
            window.SetProgress(static_cast<float>((double(j) / double(lastIndex)) * 100));
        window.PumpEvents();

        if (j < lastIndex && window.StopRequested())
            stopped = true;
    }

    const RunResult& result = recorder.Finish(stopped);
    TellRunOutcome(window, result);

    window.UnlockInputs();

    // Each value is the box's text at this moment, all six written in one go.
    SaveInputs(settings, BoxTexts(window), window.FurtherSettings());
    return result;
}

} // namespace kovaldi
