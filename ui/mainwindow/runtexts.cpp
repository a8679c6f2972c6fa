#include "mainwindow/runtexts.h"

#include "run/failurelog.h"
#include "run/runfigures.h"
#include "run/runresult.h"
#include "undo/undo.h"

#include <QLocale>
#include <QStringList>

namespace kovaldi {

namespace {

// A count with thousands separators, whatever the user's locale.
QString Count(qint64 count)
{
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    return japanese.toString(count);
}

QString Pieces(qint64 count)
{
    return Count(count) + QStringLiteral(" 個");
}

// The same, the figure and its unit never on two lines.
QString PiecesTogether(qint64 count)
{
    return Count(count) + QStringLiteral("\u00A0個");
}

// One group of names under its reason: "reason: n 個", the names listed, then how many
// more there are.
void AppendGroup(QStringList& lines, const QString& reason, qint64 count, const QStringList& names)
{
    lines << QString() << reason + QStringLiteral(": ") + Pieces(count);
    for (const QString& name : names)
        lines << QStringLiteral("  ") + NameForDisplay(name);
    if (count > names.size())
        lines << QStringLiteral("  ほか ") + Pieces(count - names.size());
}

// A long path may break after each separator: a label breaks lines only where it may, and
// a path has no spaces, so the box would cut it off at the screen's edge.
QString Breakable(const QString& path)
{
    constexpr qsizetype kLongPath = 60;
    if (path.size() <= kLongPath)
        return path;
    QString text;
    for (const QChar c : path) {
        text += c;
        if (c == u'/' || c == u'\\')
            text += QChar(0x200B); // zero width space
    }
    return text;
}

QString OtherError(const QString& systemText)
{
    return systemText.isEmpty() ? QStringLiteral("その他のエラー")
                                : QStringLiteral("その他のエラー「%1」").arg(systemText);
}

} // namespace

QString NameForDisplay(const QString& name, qsizetype longest)
{
    const qsizetype kept = longest / 2 - 1; // at each end
    if (name.size() <= longest)
        return name;
    qsizetype head = kept;
    if (name.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = name.size() - kept;
    if (name.at(tail).isLowSurrogate())
        ++tail;
    return name.left(head) + QChar(0x2026) + name.mid(tail); // "…"
}

QString ConfirmationDetails(const RunFigures& figures)
{
    const auto Pieces = PiecesTogether;
    QStringList lines;
    lines << QStringLiteral("作成先: ") + Breakable(figures.target);
    lines << QStringLiteral("フォルダ数: ") + Pieces(figures.count);
    // A list's repeated lines are skipped; the parents its lines imply are made first.
    if (figures.duplicates > 0)
        lines << QStringLiteral("重複する行: ") + Pieces(figures.duplicates) +
                     QStringLiteral("（作成しません）");
    if (figures.parents > 0)
        lines << QStringLiteral("途中のフォルダ: ") + Pieces(figures.parents);
    if (figures.subfoldersEach > 0)
        lines << QStringLiteral("サブフォルダ: 各フォルダに ") + Pieces(figures.subfoldersEach);
    if (figures.subfoldersEach > 0 || figures.parents > 0)
        lines << QStringLiteral("作成するフォルダの合計: ") + Pieces(figures.FoldersToMake()) +
                     (figures.Complete() ? QString() : QStringLiteral(" 以下"));
    if (figures.count == 1) {
        lines << QStringLiteral("フォルダ名: ") + NameForDisplay(figures.firstName);
    } else {
        lines << QStringLiteral("最初: ") + NameForDisplay(figures.firstName);
        lines << QStringLiteral("最後: ") + NameForDisplay(figures.lastName);
    }

    if (figures.leavesTarget)
        lines << QStringLiteral("ヘッダかフッタの「..」により、作成先のフォルダの外にフォルダが"
                                "作成されます。それらは元に戻すときに削除されません。");
    if (figures.checked == 0 && !figures.Complete()) {
        lines << QStringLiteral("既にある名前: 時間がかかるため確認できませんでした");
        return lines.join(u'\n');
    }
    QString existing = QStringLiteral("既にある名前: ");
    if (figures.Existing() == 0) {
        existing += figures.Complete() ? QStringLiteral("なし") : QStringLiteral("0\u00A0個");
    } else {
        existing += Pieces(figures.Existing());
        if (!figures.Complete())
            existing += QStringLiteral(" 以上");
        QStringList kinds;
        if (figures.existingFolders > 0)
            kinds << QStringLiteral("フォルダ ") + Pieces(figures.existingFolders);
        if (figures.existingFiles > 0)
            kinds << QStringLiteral("ファイル ") + Pieces(figures.existingFiles);
        existing += QStringLiteral("（") + kinds.join(QStringLiteral("、")) + QStringLiteral("）");
    }
    lines << existing;
    if (!figures.Complete())
        lines << QStringLiteral("時間がかかるため、%1のうち最初の %2だけを確認しました。")
                     .arg(Pieces(figures.count), Pieces(figures.checked));
    if (figures.NoneNew())
        lines << QStringLiteral("すべての名前が既にあるため、フォルダは 1 つも作成されません。");
    return lines.join(u'\n');
}

QString OutcomeCounts(const RunResult& result)
{
    QStringList lines{QStringLiteral("作成: ") + Pieces(result.made)};
    if (result.subfoldersEach > 0)
        lines.first() +=
            (result.record.ByName() ? QStringLiteral("（一覧のフォルダ %1、サブフォルダ %2）")
                                    : QStringLiteral("（番号のフォルダ %1、サブフォルダ %2）"))
                .arg(Pieces(result.made - result.subfoldersMade), Pieces(result.subfoldersMade));
    if (result.Failed() > 0)
        lines << QStringLiteral("失敗: ") + Pieces(result.Failed());
    if (result.stopped)
        lines << QStringLiteral("残り: ") + Pieces(result.Remaining());
    if (!result.cutTree.isEmpty())
        lines << QStringLiteral("サブフォルダの作成が途中で止まったフォルダ: ") + result.cutTree;
    return lines.join(u'\n');
}

QString FailureDetails(const FailureLog& failures)
{
    if (failures.Total() == 0)
        return {};
    QStringList lines{QStringLiteral("作成できなかったフォルダ: ") + Pieces(failures.Total())};
    for (const FailureLog::Group& group : failures.Groups())
        AppendGroup(lines, FailureReasonText(group.reason, group.systemText), group.count,
                    group.names);
    return lines.join(u'\n');
}

QString FailureReasonText(FailureReason reason, const QString& systemText)
{
    switch (reason) {
    case FailureReason::ExistsAsFolder:
        return QStringLiteral("同じ名前のフォルダが既にあります");
    case FailureReason::ExistsAsFile:
        return QStringLiteral("同じ名前のファイルが既にあります");
    case FailureReason::ParentMissing:
        return QStringLiteral("親フォルダが見つかりません");
    case FailureReason::AccessRefused:
        return QStringLiteral("アクセスが拒否されました");
    case FailureReason::NameTooLong:
        return QStringLiteral("名前が長すぎます");
    case FailureReason::DiskFull:
        return QStringLiteral("ディスクがいっぱいです（または使用量の上限に達しました）");
    case FailureReason::ReadOnly:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case FailureReason::InvalidName:
        return QStringLiteral("このシステムでは使えない名前です");
    case FailureReason::Other:
        break;
    }
    return OtherError(systemText);
}

QString KeptReasonText(KeptReason reason, const QString& systemText)
{
    switch (reason) {
    case KeptReason::NotEmpty:
        return QStringLiteral("中にファイルやフォルダがあります");
    case KeptReason::Gone:
        return QStringLiteral("既にありません");
    case KeptReason::ReplacedByFile:
        return QStringLiteral("ファイルに置き換わっています");
    case KeptReason::ReplacedByLink:
        return QStringLiteral("リンクに置き換わっています");
    case KeptReason::AccessRefused:
        return QStringLiteral("アクセスが拒否されました");
    case KeptReason::OutsideTarget:
        return QStringLiteral("作成先のフォルダの外にあります");
    case KeptReason::Other:
        break;
    }
    return OtherError(systemText);
}

QString UndoQuestion(qint64 folders)
{
    return QStringLiteral("作成した %1のフォルダを削除して、元に戻しますか？").arg(Pieces(folders));
}

QString UndoQuestionDetails()
{
    return QStringLiteral("後から作成したものから順に、空のフォルダだけを削除します。"
                          "中にファイルなどがあるフォルダは残します。");
}

QString TargetStateText(TargetState state, const QString& systemText)
{
    switch (state) {
    case TargetState::Opened:
        return {};
    case TargetState::Gone:
        return QStringLiteral("作成先のフォルダが見つかりません。");
    case TargetState::LinkOnTheWay:
        return QStringLiteral("作成先のフォルダのパスにリンクが置かれています。");
    case TargetState::NotTheSame:
        return QStringLiteral("作成先のフォルダのパスが別のフォルダを指しています。");
    case TargetState::AccessRefused:
        return QStringLiteral("作成先のフォルダへのアクセスが拒否されました。");
    case TargetState::Other:
        break;
    }
    return OtherError(systemText);
}

UndoMessage DescribeUndo(const UndoReport& report)
{
    // A folder already gone is not one the undo kept: it is counted apart.
    const auto goneEntry = report.keptByReason.find(KeptReason::Gone);
    const qint64 gone = goneEntry == report.keptByReason.end() ? 0 : goneEntry->second;
    const qint64 kept = report.kept - gone;
    UndoMessage message;
    if (report.target != TargetState::Opened) {
        // Nothing was tried: the folder the run made its folders in is not where it was.
        message.text = QStringLiteral("フォルダを削除できませんでした。");
        message.kind = MessageKind::Warning;
        message.informativeText = TargetStateText(report.target, report.targetText) +
                                  QStringLiteral("\n何も削除していません。");
        return message;
    }
    if (report.stopped) {
        message.text = QStringLiteral("中止しました。");
    } else if (kept == 0) {
        message.text = QStringLiteral("元に戻しました。");
    } else if (report.removed > 0) {
        message.text = QStringLiteral("元に戻しました。（一部残したフォルダがあります）");
    } else {
        // Nothing was taken back: the one outcome that asks for the user's attention.
        message.text = QStringLiteral("フォルダを削除できませんでした。");
        message.kind = MessageKind::Warning;
    }
    QStringList counts{QStringLiteral("削除: ") + Pieces(report.removed)};
    if (kept > 0)
        counts << QStringLiteral("残したフォルダ: ") + Pieces(kept);
    if (gone > 0)
        counts << QStringLiteral("既になかったフォルダ: ") + Pieces(gone);
    if (report.notTried > 0)
        counts << QStringLiteral("残り: ") + Pieces(report.notTried);
    message.informativeText = counts.join(u'\n');
    if (kept == 0)
        return message;

    QStringList lines{QStringLiteral("残したフォルダ: ") + Pieces(kept)};
    for (const auto& [reason, count] : report.keptByReason) {
        if (reason == KeptReason::Gone)
            continue;
        QStringList names;
        for (const UndoReport::Kept& item : report.keptItems)
            if (item.reason == reason)
                names << (reason == KeptReason::Other && !item.systemText.isEmpty()
                              ? item.name + QStringLiteral("「") + item.systemText +
                                    QStringLiteral("」")
                              : item.name);
        AppendGroup(lines, KeptReasonText(reason, QString()), count, names);
    }
    message.detailedText = lines.join(u'\n');
    return message;
}

} // namespace kovaldi
