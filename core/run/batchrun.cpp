#include "run/batchrun.h"

#include "files/filesystem.h"
#include "naming/naming.h"
#include "numbers/numbertext.h"
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

} // namespace

void RunBatch(RunWindow& window, FileSystem& fileSystem, SettingsStore& settings)
{
    const std::optional<double> min = WholePart(window.MinimumText());
    const std::optional<double> max = WholePart(window.MaximumText());

    const QString target = window.TargetFolderText();
    if (target.isEmpty()) {
        window.Tell(QStringLiteral("パスを入力してください。"), MessageKind::Warning);
        return;
    }
    const QString baseFolder = BuildBaseFolder(target, fileSystem.Separator());

    if (!FitsFolderNumber(min) || !FitsFolderNumber(max) || *max < *min) {
        window.Tell(QStringLiteral("最小値は最大値より小さい値にしてください。"),
                    MessageKind::Warning);
        return;
    }
    const double count = *max - *min;

    if (!fileSystem.FolderExists(baseFolder)) {
        window.Tell(QStringLiteral("指定したパスが見つかりません。"), MessageKind::Warning);
        return;
    }

    const QString zeroMask = BuildZeroMask(DigitCountOf(window.DigitCountText()));

    if (!window.Ask(QStringLiteral("フォルダ作成の一括処理を行います。")))
        return;

    window.LockInputs();

    // Wider than the folder numbers, so that even a run over the whole 32-bit range
    // counts every failure.
    qint64 failureCount = 0;
    const QString creating = QStringLiteral(" 作成中・・・");
    for (double j = 0; j <= count; j += 1) {
        const auto folderNumber = static_cast<qint32>(*min + j);
        const QString numberText = FormatFolderNumber(folderNumber, zeroMask);

        window.SetStatus(BuildFolderName(window.HeaderText(), numberText, window.FooterText()) +
                         creating);
        window.PumpEvents();

        const QString name = BuildFolderName(window.HeaderText(), numberText, window.FooterText());
        if (!fileSystem.CreateFolder(baseFolder + name).made)
            ++failureCount;

        // A single folder has no share of a whole: the bar stays where the lock put it.
        if (count != 0)
            window.SetProgress(static_cast<float>((j / count) * 100));
        window.PumpEvents();
    }

    if (failureCount == 0)
        window.Tell(QStringLiteral("完了！"), MessageKind::Information);
    else if (double(failureCount) == count + 1)
        window.Tell(QStringLiteral("フォルダの作成に失敗しました。"), MessageKind::Error);
    else
        window.Tell(QStringLiteral("完了！（一部作成できなかったフォルダがあります）"),
                    MessageKind::Information);

    window.UnlockInputs();

    // Each value is the box's text at this moment, all six written in one go.
    SaveInputs(settings, {window.TargetFolderText(), window.HeaderText(), window.FooterText(),
                          window.MinimumText(), window.MaximumText(), window.DigitCountText()});
}

} // namespace kovaldi
