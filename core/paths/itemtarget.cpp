#include "itemtarget.h"

#include "files/filesystem.h"
#include "files/nativename.h"

#include <QDir>
#include <QUrl>

namespace kovaldi {

std::optional<QString> LocalPathOfUrl(const QUrl& url)
{
    if (!url.isValid() || url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return {};
#if defined(Q_OS_WIN)
    // Windows names are UTF-16; Qt's reading also turns a host into a share (\\host\...).
    const QString path = url.toLocalFile();
#else
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    // Qt keeps a percent-encoded byte that is not UTF-8 encoded; its decoded path would
    // hold a replacement character instead.
    const QString path =
        NameFromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
#endif
    if (path.isEmpty())
        return {};
    return path;
}

std::optional<QString> TargetOfItem(const QString& path, const FileSystem& files)
{
    if (path.isEmpty() || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return {};
    QString target = QDir::cleanPath(path);
    if (files.KindOf(target) == EntryKind::File) {
        const qsizetype cut = target.lastIndexOf(QLatin1Char('/'));
        // The root's own file keeps the root; "C:/x" keeps "C:/".
        target = target.left(
            cut == 0 || (cut > 0 && target.at(cut - 1) == QLatin1Char(':')) ? cut + 1 : cut);
    }
    return QDir::toNativeSeparators(target);
}

} // namespace kovaldi
