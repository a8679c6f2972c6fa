#include "platform/appearance.h"

#include "version.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cmath>

namespace kovaldi {

QFont JapaneseGothicFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPixelSize(static_cast<int>(std::lround(pointSize * 96.0 / 72.0)));
    return font;
}

QIcon ApplicationIcon()
{
    QIcon builtIn;
    for (const int size : {16, 32, 48, 256})
        builtIn.addFile(QStringLiteral(":/icons/kovaldi-%1.png").arg(size), QSize(size, size));
    // The installed icon theme's copy when there is one, so the desktop's look applies.
    return QIcon::fromTheme(QLatin1String(version::appId), builtIn);
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
