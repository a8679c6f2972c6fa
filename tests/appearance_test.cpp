#include "platform/appearance.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>

class AppearanceTest : public QObject
{
    Q_OBJECT
private slots:
    void iconComesFromTheInstalledThemeWhenThereIsOne()
    {
        // An installed hicolor theme with the program's icon, as `cmake --install` lays it out.
        QTemporaryDir icons;
        const QString apps = icons.path() + QStringLiteral("/hicolor/48x48/apps");
        QVERIFY(QDir().mkpath(apps));
        QFile index(icons.path() + QStringLiteral("/hicolor/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
                    "[48x48/apps]\nSize=48\nType=Fixed\n");
        index.close();
        QVERIFY(QFile::copy(QStringLiteral(":/icons/kovaldi-48.png"),
                            apps + QLatin1Char('/') + QLatin1String(kovaldi::version::appId) +
                                QStringLiteral(".png")));

        QIcon::setThemeSearchPaths({icons.path()});
        QIcon::setThemeName(QStringLiteral("hicolor"));
        const QIcon themed = kovaldi::ApplicationIcon();
        QCOMPARE(themed.name(), QLatin1String(kovaldi::version::appId));
        QVERIFY(!themed.pixmap(48).isNull());
    }

    void iconIsBuiltInOtherwise()
    {
        QTemporaryDir empty;
        QIcon::setThemeSearchPaths({empty.path()});
        QIcon::setThemeName(QStringLiteral("hicolor"));
        const QIcon builtIn = kovaldi::ApplicationIcon();
        QVERIFY(builtIn.name().isEmpty());
        for (const int size : {16, 32, 48})
            QCOMPARE(builtIn.pixmap(size).size(), QSize(size, size));
    }

    void fontSizesAreLogicalPixelsAt96Dpi_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("main window 9 pt") << 9.0 << 12;
        QTest::newRow("title 12 pt") << 12.0 << 16;
        QTest::newRow("copyright 11.25 pt") << 11.25 << 15;
        QTest::newRow("links 9.75 pt") << 9.75 << 13;
    }
    void fontSizesAreLogicalPixelsAt96Dpi()
    {
        QFETCH(double, points);
        QFETCH(int, pixels);
        QCOMPARE(kovaldi::JapaneseGothicFont(points).pixelSize(), pixels);
    }
};

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
