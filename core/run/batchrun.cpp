#include "run/batchrun.h"

#include "files/filesystem.h"
#include "naming/naming.h"
#include "numbers/numbertext.h"
#include "run/runrecorder.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kovaldi {

namespace {

// The whole part (rounded toward minus infinity) of a numeric box text; nothing for a
// text that is not numeric.
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

// The six box texts, in the order they are stored.
QStringList BoxTexts(const RunWindow& window)
{
    return {window.TargetFolderText(), window.HeaderText(),  window.FooterText(),
            window.MinimumText(),      window.MaximumText(), window.DigitCountText()};
}

// The same under their settings keys, as the journal names them.
QList<std::pair<QString, QString>> NamedBoxTexts(const RunWindow& window)
{
    const QStringList texts = BoxTexts(window);
    QList<std::pair<QString, QString>> named;
    for (qsizetype i = 0; i < texts.size(); ++i)
        named.append({QLatin1String(kStoredInputs[i].key), texts[i]});
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
    const double count = *max - *min;

    if (!fileSystem.FolderExists(baseFolder)) {
        window.Tell(QStringLiteral("指定したパスが見つかりません。"), MessageKind::Warning);
        return {};
    }

    const QString zeroMask = BuildZeroMask(DigitCountOf(window.DigitCountText()));
    const FolderSeries series{window.HeaderText(), window.FooterText(), zeroMask,
                              qint64(*min),        qint64(count) + 1,   1};

    const RunFigures figures =
        CountRunFigures(fileSystem, baseFolder, series, QDeadlineTimer(options.figuresBudget));
    if (!window.Confirm(QStringLiteral("フォルダ作成の一括処理を行います。"), figures))
        return {};

    window.LockInputs();

    RunRecorder recorder(figures.target, series, fileSystem.FolderIdentity(figures.target),
                         NamedBoxTexts(window), options.journalFolder);
    bool stopped = false;
    const QString creating = QStringLiteral(" 作成中・・・");
    // The boxes stay locked until the outcome: each name is built once, from the texts as
    // they were locked, for the status line and the folder alike; the path is built in one
    // buffer that keeps its room from folder to folder.
    const QString header = window.HeaderText();
    const QString footer = window.FooterText();
    QString path = baseFolder;
    for (double j = 0; j <= count; j += 1) {
        const auto folderNumber = static_cast<qint32>(*min + j);
        const QString name = BuildFolderName(header, folderNumber, zeroMask, footer);

        window.SetFolderStatus(name, creating);
        window.PumpEvents();

        path.truncate(baseFolder.size());
        path += name;
        recorder.Tried(qint64(j), name, fileSystem.CreateFolder(path));

        // A single folder has no share of a whole: the bar stays where the lock put it.
        if (count != 0)
            window.SetProgress(static_cast<float>((j / count) * 100));
        window.PumpEvents();

        if (j < count && window.StopRequested()) {
            stopped = true;
            break;
        }
    }

    const RunResult& result = recorder.Finish(stopped);
    const qint64 failureCount = result.Failed();
    if (stopped)
        window.TellOutcome(QStringLiteral("中止しました。"), MessageKind::Information, result);
    else if (failureCount == 0)
        window.TellOutcome(QStringLiteral("完了！"), MessageKind::Information, result);
    else if (double(failureCount) == count + 1)
        window.TellOutcome(QStringLiteral("フォルダの作成に失敗しました。"), MessageKind::Error,
                           result);
    else
        window.TellOutcome(QStringLiteral("完了！（一部作成できなかったフォルダがあります）"),
                           MessageKind::Information, result);

    window.UnlockInputs();

    // Each value is the box's text at this moment, all six written in one go.
    SaveInputs(settings, BoxTexts(window));
    return result;
}

} // namespace kovaldi
