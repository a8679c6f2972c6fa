#include "desktop/appearance.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>

class AppearanceTest : public QObject
{
    Q_OBJECT
private slots:
    void iconFromTheInstalledThemeElseBuiltIn()
    {
        // An installed hicolor theme with the program's icon, as `cmake --install` lays it out.
        QTemporaryDir icons;
        QVERIFY(QDir().mkpath(icons.filePath("hicolor/48x48/apps")));
        QFile index(icons.filePath("hicolor/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                    "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        const QString appId = QLatin1String(kovaldi::version::appId);
        QVERIFY(QFile::copy(":/icons/kovaldi-48.png",
                            icons.filePath("hicolor/48x48/apps/" + appId + ".png")));
        QIcon::setThemeName(QStringLiteral("hicolor"));
        QIcon::setThemeSearchPaths({icons.path()});
        const QIcon themed = kovaldi::ApplicationIcon();
        QCOMPARE(themed.name(), appId);
        QVERIFY(!themed.pixmap(48).isNull());

        QTemporaryDir empty;
        QIcon::setThemeSearchPaths({empty.path()});
        const QIcon builtIn = kovaldi::ApplicationIcon();
        QVERIFY(builtIn.name().isEmpty());
        for (const int size : {16, 32, 48})
            QCOMPARE(builtIn.pixmap(size).size(), QSize(size, size));
    }

    void fontsAreJapaneseGothicInLogicalPixelsAt96Dpi()
    {
        const QString family = QFontInfo(kovaldi::JapaneseGothicFont(9)).family();
        QVERIFY2(family.contains("IPAPGothic") || family.contains("Noto Sans CJK") ||
                     family.contains("ＭＳ Ｐゴシック"),
                 qPrintable(family));
        // The main window's 9 pt, the title's 12, the copyright's 11.25, the links' 9.75.
        for (const auto& [points, pixels] :
             {std::pair{9.0, 12}, {12.0, 16}, {11.25, 15}, {9.75, 13}})
            QCOMPARE(kovaldi::JapaneseGothicFont(points).pixelSize(), pixels);
    }
};

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
