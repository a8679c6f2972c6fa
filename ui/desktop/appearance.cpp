#include "desktop/appearance.h"

#include "version.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QStringList>
#include <QTranslator>
#include <cmath>

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
    // are read as PNG outright: left to find the format itself, Qt would load and ask every
    // image format plugin installed (and the libraries they need) at each start.
    QIcon builtIn;
    for (const int size : {16, 32, 48}) {
        QImageReader reader(QStringLiteral(":/icons/kovaldi-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        builtIn.addPixmap(QPixmap::fromImage(reader.read()));
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
