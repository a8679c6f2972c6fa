#include "subfolders/subfoldertemplate.h"

#include "files/nativename.h"

#include <QtGlobal>
#include <algorithm>
#include <functional>

#if defined(Q_OS_WIN)
#include <QDir>
#include <QFileInfo>
#else
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovaldi {

namespace {

constexpr int kLongestName = 255; // bytes on POSIX systems, UTF-16 units on Windows

bool IsSeparator(QChar c)
{
#if defined(Q_OS_WIN)
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

bool IsAbsolute(const QString& line)
{
    if (!line.isEmpty() && IsSeparator(line.front()))
        return true;
#if defined(Q_OS_WIN)
    // "C:" alone names the drive's current folder, which is no more inside the folder.
    return line.size() >= 2 && line[1] == u':' && line[0].isLetter();
#else
    return false;
#endif
}

// The folders of a template as a tree, node 0 being the numbered folder itself.
class Tree
{
public:
    Tree() : m_nodes(1) {}

    // The child name of node parent, made when new.
    int Child(int parent, const QString& name)
    {
        for (const int child : m_nodes[parent].children)
            if (m_nodes[child].name == name)
                return child;
        m_nodes.push_back({name, {}});
        m_nodes[parent].children.push_back(int(m_nodes.size()) - 1);
        return int(m_nodes.size()) - 1;
    }
    qsizetype Count() const { return qsizetype(m_nodes.size()) - 1; }

    // Depth first, siblings in the order first named.
    QList<SubfolderTemplate::Entry> Entries() const
    {
        QList<SubfolderTemplate::Entry> entries;
        entries.reserve(Count());
        const std::function<void(int, const QString&, int)> walk =
            [&](int node, const QString& prefix, int depth) {
                for (const int child : m_nodes[node].children) {
                    const QString path = prefix + m_nodes[child].name;
                    entries.append({path, m_nodes[child].name, depth});
                    walk(child, path + QLatin1Char('/'), depth + 1);
                }
            };
        walk(0, QString(), 1);
        return entries;
    }

private:
    struct Node
    {
        QString name;
        std::vector<int> children;
    };
    std::vector<Node> m_nodes;
};

QString TooMany()
{
    return QStringLiteral("サブフォルダは %1 個までです。").arg(SubfolderTemplate::kMostEntries);
}

QString TooDeep()
{
    return QStringLiteral("サブフォルダの階層は %1 段までです。")
        .arg(SubfolderTemplate::kMostLevels);
}

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

std::optional<QString> FolderNameFault(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral(
            "空のフォルダ名があります（「/」が続いているか、行の末尾にあります）。");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("「.」と「..」はフォルダ名に使えません。");
    const QString quoted = QStringLiteral("「%1」").arg(name);
#if defined(Q_OS_WIN)
    for (const QChar c : name)
        if (c.unicode() < 0x20 || QStringView(u"<>:\"/\\|?*").contains(c))
            return QStringLiteral("フォルダ名に使えない文字があります（%1）。").arg(quoted);
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return QStringLiteral("フォルダ名の末尾に「.」や空白は使えません（%1）。").arg(quoted);
    const QString stem = name.section(u'.', 0, 0).toUpper();
    static const QStringList reserved{
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),
        QStringLiteral("NUL"),  QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"), QStringLiteral("COM4"), QStringLiteral("COM5"),
        QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
        QStringLiteral("LPT3"), QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"), QStringLiteral("LPT7"), QStringLiteral("LPT8"),
        QStringLiteral("LPT9")};
    if (reserved.contains(stem))
        return QStringLiteral("システムが予約している名前です（%1）。").arg(quoted);
    const qsizetype length = name.size();
#else
    if (!EncodesWhole(name))
        return QStringLiteral("フォルダ名に使えない文字があります（%1）。").arg(quoted);
    const qsizetype length = NativeName(name).size();
#endif
    if (length > kLongestName)
        return QStringLiteral("フォルダ名が長すぎます（%1）。").arg(quoted);
    return std::nullopt;
}

std::optional<SubfolderTemplate> SubfolderTemplate::FromLines(const QStringList& lines,
                                                              QString* error)
{
    Tree tree;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const auto fault = [&](const QString& text) {
            Fail(error, QStringLiteral("サブフォルダの %1 行目: %2").arg(i + 1).arg(text));
            return std::nullopt;
        };
        if (IsAbsolute(line))
            return fault(QStringLiteral(
                "絶対パスは使えません。各フォルダからの相対パスを入力してください。"));
        int node = 0;
        int depth = 0;
        qsizetype start = 0;
        for (qsizetype at = 0; at <= line.size(); ++at) {
            if (at < line.size() && !IsSeparator(line[at]))
                continue;
            const QString name = line.mid(start, at - start);
            start = at + 1;
            if (const std::optional<QString> why = FolderNameFault(name))
                return fault(*why);
            if (++depth > kMostLevels)
                return fault(TooDeep());
            node = tree.Child(node, name);
            if (tree.Count() > kMostEntries)
                return fault(TooMany());
        }
    }
    SubfolderTemplate result;
    result.m_entries = tree.Entries();
    return result;
}

QString SubfolderTemplate::Text() const
{
    QStringList paths;
    for (const Entry& entry : m_entries)
        paths << entry.path;
    return paths.join(QLatin1Char('\n'));
}

QString SubfolderTemplate::PathWith(qsizetype i, QChar separator) const
{
    QString path = m_entries[i].path;
    if (separator != u'/')
        path.replace(u'/', separator);
    return path;
}

std::optional<SubfolderTemplate> SubfolderTemplate::FromFolder(const QString& folder,
                                                               QString* error)
{
    Tree tree;
    const QString unreadable = QStringLiteral("フォルダ「%1」を読み込めません。");
    // Reads the folders inside one folder into node, then theirs; false on a refusal.
    std::function<bool(const QString&, int, int)> read;
#if defined(Q_OS_WIN)
    read = [&](const QString& path, int node, int depth) {
        const QDir dir(path);
        if (!dir.exists())
            return Fail(error, unreadable.arg(QDir::toNativeSeparators(path)));
        const QFileInfoList items = dir.entryInfoList(
            QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden | QDir::System,
            QDir::Name);
        for (const QFileInfo& item : items) {
            if (item.isSymLink() || item.isJunction())
                continue;
            if (depth > kMostLevels)
                return Fail(error, TooDeep());
            const int child = tree.Child(node, item.fileName());
            if (tree.Count() > kMostEntries)
                return Fail(error, TooMany());
            if (!read(item.filePath(), child, depth + 1))
                return false;
        }
        return true;
    };
    if (!read(folder, 0, 1))
        return std::nullopt;
#else
    // Each folder is opened relative to its parent, never through a link: a folder swapped
    // for a link while it is read is not followed.
    std::function<bool(int, const QString&, int, int)> readAt = [&](int fd, const QString& path,
                                                                    int node, int depth) {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return Fail(error, unreadable.arg(path));
        }
        QStringList names;
        errno = 0;
        while (const dirent* item = ::readdir(dir)) {
            const QByteArray name(item->d_name);
            if (name == "." || name == "..")
                continue;
            struct stat status;
            if (::fstatat(::dirfd(dir), item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(status.st_mode))
                names << NameFromNative(name);
        }
        std::sort(names.begin(), names.end());
        bool ok = true;
        for (const QString& name : names) {
            if (depth > kMostLevels) {
                ok = Fail(error, TooDeep());
                break;
            }
            const int child = tree.Child(node, name);
            if (tree.Count() > kMostEntries) {
                ok = Fail(error, TooMany());
                break;
            }
            const QString childPath = path + QLatin1Char('/') + name;
            const int childFd = ::openat(::dirfd(dir), NativeName(name).constData(),
                                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (childFd < 0) {
                ok = Fail(error, unreadable.arg(childPath));
                break;
            }
            if (!readAt(childFd, childPath, child, depth + 1)) {
                ok = false;
                break;
            }
        }
        ::closedir(dir);
        return ok;
    };
    const int fd = EncodesWhole(folder)
                       ? ::open(NativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                       : -1;
    if (fd < 0) {
        Fail(error, unreadable.arg(folder));
        return std::nullopt;
    }
    if (!readAt(fd, folder, 0, 1))
        return std::nullopt;
#endif
    // A name the system holds but a folder could not be made by (a stray byte, say) is
    // refused as a typed one is.
    SubfolderTemplate result;
    result.m_entries = tree.Entries();
    for (const Entry& entry : result.m_entries)
        if (const std::optional<QString> why = FolderNameFault(entry.name)) {
            Fail(error, QStringLiteral("「%1」: %2").arg(entry.path, *why));
            return std::nullopt;
        }
    return result;
}

} // namespace kovaldi
