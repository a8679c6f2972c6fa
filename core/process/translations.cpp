#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kovaldi {

void InstallTranslations(QObject& owner, const QString& catalogue)
{
    const QLocale locale;
    auto* qt = new QTranslator(&owner);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    const QString folder = QCoreApplication::applicationDirPath();
    auto* own = new QTranslator(&owner);
    for (const QString& place : {folder + QStringLiteral("/../share/kovaldi/translations"),
                                 folder + QStringLiteral("/translations")}) {
        if (own->load(locale, catalogue, QStringLiteral("_"), place)) {
            QCoreApplication::installTranslator(own);
            break;
        }
    }
}

} // namespace kovaldi
