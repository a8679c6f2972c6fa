#include "desktop/appearance.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>

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

    void contrast_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("the same") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
        QTest::newRow("the design's blue on white")
            << QColor(0, 0, 255) << QColor(Qt::white) << 8.59;
        QTest::newRow("the design's green on white")
            << QColor(0, 128, 0) << QColor(Qt::white) << 5.14;
    }
    void contrast()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY(qAbs(kovaldi::ContrastRatio(a, b) - ratio) < 0.01);
        QVERIFY(qAbs(kovaldi::ContrastRatio(b, a) - ratio) < 0.01);
    }

    // Light windows keep the design's colours exactly; dark ones get a lighter shade of the
    // same hue that reads at 4.5:1 or better, and no lighter than it needs to be.
    void linkColours_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("link"); // as designed
        QTest::addColumn<bool>("designed");
        const std::tuple<const char*, QColor, bool> windows[] = {
            {"white", QColor(Qt::white), true},
            {"Fusion's light grey", QColor(0xef, 0xef, 0xef), true},
            {"mid grey, just light", QColor(0x77, 0x77, 0x77), true},
            {"mid grey, just dark", QColor(0x75, 0x75, 0x75), false},
            {"Breeze dark", QColor(0x20, 0x23, 0x26), false},
            {"Adwaita dark", QColor(0x35, 0x35, 0x35), false},
            {"black (high contrast)", QColor(Qt::black), false},
            {"dark blue", QColor(0, 0, 0x60), false}};
        for (const auto& [name, window, designed] : windows)
            for (const QColor& link : {QColor(0, 0, 255), QColor(0, 128, 0)})
                QTest::addRow("%s, %s", name, qPrintable(link.name()))
                    << window << link << designed;
    }
    void linkColours()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, link);
        QFETCH(bool, designed);
        const QColor shown = kovaldi::LinkColourOn(link, window);
        if (designed) {
            QCOMPARE(shown, link);
            return;
        }
        QVERIFY2(kovaldi::ContrastRatio(shown, window) >= 4.5, qPrintable(shown.name()));
        QVERIFY(shown.lightness() > link.lightness());
        QVERIFY(qAbs(shown.hslHue() - link.hslHue()) <= 1);
        // Just light enough: a step darker would not read.
        const QColor darker =
            QColor::fromHsl(shown.hslHue(), shown.hslSaturation(), shown.lightness() - 2);
        QVERIFY(shown == link || kovaldi::ContrastRatio(darker, window) < 4.5);
    }
};

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
