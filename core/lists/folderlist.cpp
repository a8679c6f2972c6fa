#include "folderlist.h"

#include "files/nativename.h"
#include "naming/naming.h"
#include "subfolders/subfoldertemplate.h"

namespace kovaldi {

namespace {

bool IsSeparator(QChar c)
{
#if defined(Q_OS_WIN)
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

} // namespace

std::optional<FolderList> FolderList::FromText(QStringView text, const ListNumbering& numbering,
                                               QString* error)
{
    auto refuse = [&](const QString& message) -> std::optional<FolderList> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    FolderList list;
    const QString mask = BuildZeroMask(numbering.digits);
    qsizetype number = 0;
    qsizetype lineNumber = 0;
    QList<QStringView> lines = text.split(u'\n');
    if (text.endsWith(u'\n'))
        lines.removeLast(); // the break that closes the last line opens no other
    for (QStringView line : lines) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView name = line.trimmed();
        if (name.isEmpty()) {
            ++list.blankLines;
            continue;
        }
        if (list.lines.size() == kMostListLines)
            return refuse(QStringLiteral("一覧が %L1 行を超えています。%L1 行以下にしてください。")
                              .arg(kMostListLines));
        ListLine entry{lineNumber, name.toString(), name.size() != line.size()};
        if (IsSeparator(kPathSeparator))
            entry.path.replace(kPathSeparator, u'/');
        if (numbering.numbered)
            entry.path = FormatFolderNumber(numbering.first + number * numbering.step, mask) +
                         numbering.separator + entry.path;
        ++number;
        list.cutLines += entry.cut ? 1 : 0;
        list.lines.append(std::move(entry));
    }
    if (list.lines.isEmpty())
        return refuse(QStringLiteral("一覧にフォルダ名がありません（空の行だけです）。"));
    return list;
}

std::optional<QString> ListPathFault(const QString& path)
{
    // Cells pasted from a table row arrive joined by tabs: more than one column.
    if (path.contains(u'\t'))
        return QStringLiteral(
            "タブが含まれています（表から貼り付けるときは 1 列だけにしてください）。");
    for (QStringView name : QStringView(path).split(u'/'))
        if (std::optional<QString> fault = FolderNameFault(name.toString()))
            return fault;
    return std::nullopt;
}

ListChecker::ListChecker(const FileSystem& fileSystem, QString baseFolder)
    : m_fileSystem(fileSystem), m_baseFolder(std::move(baseFolder))
{}

ListLineState ListChecker::Check(const ListLine& line, QString* reason, qsizetype* earlier,
                                 QStringList* implied)
{
    if (const std::optional<QString> fault = ListPathFault(line.path)) {
        if (reason)
            *reason = *fault;
        return ListLineState::Invalid;
    }
    // A folder made earlier as the parent of a line counts as that line's.
    if (const auto found = m_earlier.constFind(line.path); found != m_earlier.cend()) {
        if (earlier)
            *earlier = *found;
        return ListLineState::Duplicate;
    }
    m_earlier.insert(line.path, line.line);
    // A parent keeps the first line that implied it.
    for (qsizetype i = line.path.indexOf(u'/'); i > 0; i = line.path.indexOf(u'/', i + 1)) {
        QString parent = line.path.left(i);
        if (m_earlier.contains(parent))
            continue;
        m_earlier.insert(parent, line.line);
        if (implied)
            implied->append(std::move(parent));
    }
    switch (KindOf(line.path)) {
    case EntryKind::Folder:
        return ListLineState::ExistsAsFolder;
    case EntryKind::File:
        return ListLineState::ExistsAsFile;
    case EntryKind::Nothing:
        break;
    }
    return ListLineState::New;
}

EntryKind ListChecker::KindOf(const QString& path)
{
    if (!m_listed) {
        m_listed = true;
        QHash<QString, EntryKind> entries;
        if (m_fileSystem.ListFolder(m_baseFolder, [&](const QString& name, EntryKind kind) {
                entries.insert(name, kind);
                m_foldedEntries.insert(FoldedName(name));
                return true;
            }))
            m_entries = std::move(entries);
        else
            m_foldedEntries.clear();
    }
    if (m_entries) {
        const qsizetype slash = path.indexOf(u'/');
        if (!m_foldedEntries.contains(FoldedName(slash < 0 ? path : path.left(slash))))
            return EntryKind::Nothing;
        // Only an entry of exactly this name answers for itself; one that matches it when
        // folded, or a path further inside, is asked of the file system.
        if (slash < 0) {
            const auto listed = m_entries->constFind(path);
            if (listed != m_entries->constEnd())
                return *listed;
        }
    }
    QString native = path;
    if (m_fileSystem.Separator() != u'/')
        native.replace(u'/', m_fileSystem.Separator());
    return m_fileSystem.KindOf(m_baseFolder + native);
}

} // namespace kovaldi
