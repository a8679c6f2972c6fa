#include "mainwindow/autosizelabel.h"
#include "platform/appearance.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
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
        QVERIFY(QFile::copy(KOVALDI_ICON_DIR "/kovaldi-48.png",
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
        // The built-in pixels are those of the rendered PNG files, size for size.
        for (const int size : {16, 32, 48}) {
            const QImage shown = builtIn.pixmap(size).toImage().convertToFormat(
                QImage::Format_RGBA8888_Premultiplied);
            const QImage rendered =
                QImage(QStringLiteral(KOVALDI_ICON_DIR "/kovaldi-%1.png").arg(size))
                    .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
            QCOMPARE(shown.size(), QSize(size, size));
            QCOMPARE(shown, rendered);
        }
    }

    void autoSizedLabelTakesTheSizeQLabelWouldGive_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("withBuddy");
        QTest::newRow("empty") << "" << 9.0 << false << false;
        QTest::newRow("latin") << "lblStatus" << 9.0 << false << false;
        QTest::newRow("japanese") << "＜プレビュー＞ 作成されるフォルダ" << 9.0 << false << false;
        QTest::newRow("status line")
            << "C:\\data\\run-0042_end 作成中・・・" << 9.0 << false << false;
        QTest::newRow("markup is text") << "<b>x</b> &amp;" << 9.0 << false << false;
        QTest::newRow("ampersand, no buddy") << "A&B && C" << 9.0 << false << false;
        QTest::newRow("ampersand, buddy") << "ヘッダ(&H)" << 9.0 << false << true;
        QTest::newRow("two lines and a tab") << "one\ttwo\nthree" << 9.0 << false << false;
        QTest::newRow("other scripts") << "한국어 ไทย 😀 Ελληνικά" << 9.0 << false << false;
        QTest::newRow("bold link") << "HomePage : https://example.org/" << 9.75 << true << false;
        QTest::newRow("wider than 2000 px") << QString(400, QChar(u'あ')) << 9.0 << false << false;
    }

    void autoSizedLabelTakesTheSizeQLabelWouldGive()
    {
        QFETCH(QString, text);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, withBuddy);
        QWidget parent;
        QFont font = kovaldi::JapaneseGothicFont(points);
        font.setBold(bold);
        parent.setFont(font);
        QLineEdit buddy(&parent);
        kovaldi::AutoSizeLabel label(QStringLiteral("x"), &parent);
        QLabel reference(&parent);
        reference.setTextFormat(Qt::PlainText);
        for (QLabel* each : {static_cast<QLabel*>(&label), &reference}) {
            if (withBuddy)
                each->setBuddy(&buddy);
        }
        label.setText(text);
        reference.setText(text);
        QCOMPARE(label.size(), reference.sizeHint());
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
