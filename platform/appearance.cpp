#include "platform/appearance.h"

#include "version.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QResource>
#include <QStringList>
#include <QTranslator>
#include <cmath>
#include <cstring>
#include <utility>

namespace kovaldi {

QFont JapaneseGothicFont(double pointSize)
{
    // Only the faces that are installed are named: a missing first choice would make Qt
    // ask the system for substitutes of it (slow) before trying the next name, and would
    // query substitutes for every name up front instead of only for a missing glyph.
    // With none of them installed, the whole list leaves the choice to the system.
    static const QStringList installed = [] {
        const QStringList wanted = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                    QStringLiteral("IPAPGothic"),
                                    QStringLiteral("Noto Sans CJK JP"),
                                    QStringLiteral("Noto Sans JP")};
        const QStringList available = QFontDatabase::families();
        QStringList families;
        for (const QString& family : wanted)
            if (available.contains(family, Qt::CaseInsensitive))
                families.append(family);
        return families.isEmpty() ? wanted : families;
    }();
    QFont font;
    font.setFamilies(installed);
    font.setPixelSize(static_cast<int>(std::lround(pointSize * 96.0 / 72.0)));
    return font;
}

QIcon ApplicationIcon()
{
    // Installed, the icon theme holds the program's icon in every size and the desktop's
    // look applies. A look-up that misses searches every theme folder, so it is made only
    // when the icon is there to be found.
    const QString id = QLatin1String(version::appId);
    for (const QString& folder : QIcon::themeSearchPaths())
        if (QFileInfo::exists(folder + QStringLiteral("/hicolor/48x48/apps/") + id +
                              QStringLiteral(".png")))
            return QIcon::fromTheme(id);

    // Otherwise the built-in images, up to the largest size a window manager asks for. They
    // are stored as plain RGBA pixels: a PNG would make Qt load and try its image format
    // plugins and inflate the data at every start, for 14 KB of pixels.
    QIcon builtIn;
    for (const int size : {16, 32, 48}) {
        const QByteArray pixels =
            QResource(QStringLiteral(":/icons/kovaldi-%1.rgba").arg(size)).uncompressedData();
        if (pixels.size() != size * size * 4)
            continue;
        // The image owns a copy: the pixels may be an inflated buffer that ends here.
        QImage image(size, size, QImage::Format_RGBA8888);
        std::memcpy(image.bits(), pixels.constData(), size_t(pixels.size()));
        builtIn.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return builtIn;
}

void InstallQtTranslations(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kovaldi
