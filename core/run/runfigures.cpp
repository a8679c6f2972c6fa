#include "run/runfigures.h"

#include "files/filesystem.h"
#include "run/existingnames.h"

#include <QStringList>

namespace kovaldi {

bool NamesLeaveTarget(const QString& header, const QString& footer)
{
    // The number stands between the two and is never "..": only the components that the
    // header ends before it and the footer begins after it are whole.
    const auto parts = [](QString text) {
#if defined(Q_OS_WIN)
        text.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
        return text.split(QLatin1Char('/'));
    };
    QStringList whole = parts(header);
    whole.removeLast();
    QStringList after = parts(footer);
    after.removeFirst();
    whole += after;
    return whole.contains(QLatin1String(".."));
}

RunFigures CountRunFigures(const FileSystem& fileSystem, const QString& baseFolder,
                           const FolderSeries& series, const QDeadlineTimer& deadline)
{
    RunFigures figures;
    figures.target = fileSystem.AbsoluteFolder(baseFolder);
    figures.count = series.count;
    figures.leavesTarget = NamesLeaveTarget(series.header, series.footer);
    if (series.count < 1)
        return figures;
    figures.firstName = series.NameAt(0);
    figures.lastName = series.NameAt(series.count - 1);

    // On a slow file system the listing leaves time to look up at least the first names.
    QDeadlineTimer listingDeadline = deadline;
    if (!deadline.isForever())
        listingDeadline.setPreciseRemainingTime(0, deadline.remainingTimeNSecs() / 2);
    ExistingNames existing(fileSystem, baseFolder, series);
    existing.Load(listingDeadline);

    const auto add = [&figures](EntryKind kind) {
        figures.existingFolders += kind == EntryKind::Folder;
        figures.existingFiles += kind == EntryKind::File;
    };
    if (existing.AnsweredByListing()) {
        for (const EntryKind kind : existing.Listed())
            add(kind);
        figures.checked = series.count;
        return figures;
    }
    for (qint64 index = 0; index < series.count && !deadline.hasExpired(); ++index) {
        add(existing.KindAt(index));
        figures.checked = index + 1;
    }
    return figures;
}

} // namespace kovaldi
