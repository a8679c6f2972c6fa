// A series' names written and read back, nothing else read back; the opened target.
#include "files/localfilesystem.h"
#include "naming/folderseries.h"
#include "naming/naming.h"
#include "subfolders/subfoldertemplate.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <climits>

using namespace kovaldi;

// The number text as Qt's own formatting writes it.
static QString Reference(qint64 number, int digits)
{
    const QString magnitude = QString::number(number).remove('-');
    return (number < 0 ? "-" : "") + magnitude.rightJustified(digits, '0');
}

class FolderSeriesTest : public QObject
{
    Q_OBJECT
private slots:
    // Every digit count the boxes and the command line take; beside each name, the same
    // number with a zero more in front, and the next number off the step, are refused.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("footer");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("step");
        QTest::newRow("negative to positive") << "img" << QString() << -11LL << 1LL;
        QTest::newRow("affixes like numbers, step 3") << "-1"
                                                      << "00" << -6LL << 3LL;
        QTest::newRow("32-bit ends") << "写真"
                                     << " " << -2147483648LL << 4294967295LL;
        QTest::newRow("64-bit lowest") << QString() << "0" << LLONG_MIN << 1LL;
    }
    void roundTrip()
    {
        QFETCH(QString, header);
        QFETCH(QString, footer);
        QFETCH(qint64, first);
        QFETCH(qint64, step);
        for (int digits = 0; digits <= 99; ++digits) {
            const FolderSeries series{header, footer, BuildZeroMask(digits), first, 2, step};
            for (qint64 index = 0; index < 3; ++index) {
                const qint64 number = series.NumberAt(index);
                const QString text = Reference(number, digits);
                const QString name = header + text + footer;
                QCOMPARE(series.IndexOf(name), index < 2 ? index : -1);
                if (index < 2)
                    QCOMPARE(series.NameAt(index), name);
                const QString padded = text.left(number < 0) + '0' + text.mid(number < 0);
                QCOMPARE(series.IndexOf(header + padded + footer), -1);
                if (step > 1)
                    QCOMPARE(series.IndexOf(header + Reference(number + 1, digits) + footer), -1);
            }
        }
    }

    // What is no name of F-05 to F05 (two digits; step 1 unless given), and what is.
    void readBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<qint64>("index");
        QTest::newRow("an extra zero in front") << "F005" << 1LL << -1LL;
        QTest::newRow("-0") << "F-0" << 1LL << -1LL;
        QTest::newRow("off the step") << "F-04" << 2LL << -1LL;
        QTest::newRow("on the step") << "F-03" << 2LL << 1LL;
        QTest::newRow("capital only in the header") << "f01" << 1LL << -1LL;
        QTest::newRow("past any 64-bit number") << "F10000000000000000000" << 1LL << -1LL;
    }
    void readBack()
    {
        QFETCH(QString, name);
        QFETCH(qint64, step);
        const FolderSeries series{"F", "", BuildZeroMask(2), -5, 10 / step + 1, step};
        QTEST(series.IndexOf(name), "index");
    }

    // A link put in place of the target's path once it is open leads no folder elsewhere.
    void madeInsideTheOpenedTarget()
    {
#if defined(Q_OS_WIN)
        QSKIP("Windows makes each folder by its path");
#else
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("target") && QDir(dir.path()).mkdir("elsewhere"));
        LocalFileSystem fileSystem;
        const auto target = fileSystem.OpenTarget(dir.filePath("target/"));
        QVERIFY(QDir(dir.path()).rename("target", "moved"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("target")));
        QVERIFY(target->MakeFolder(u"a01").made);
        QVERIFY(QFile(dir.filePath("moved/b")).open(QIODevice::WriteOnly));
        QCOMPARE(target->MakeFolder(u"b").reason, FailureReason::ExistsAsFile);
        QVERIFY(QFileInfo(dir.filePath("moved/a01")).isDir());

        // A numbered folder swapped for a link once made gets none of its sub-folders.
        std::optional<SubfolderTemplate> tree =
            SubfolderTemplate::FromText(QStringLiteral("s/t\nu"), nullptr);
        QVERIFY(tree);
        QVERIFY(target->MakeFolder(u"a02").made);
        QVERIFY(QDir(dir.filePath("moved")).rename("a02", "a02-moved"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("moved/a02")));
        QList<int> reasons; // -1: made
        target->MakeSubfolders(u"a02", *tree, [&](qsizetype, const CreateResult& result) {
            reasons << (result.made ? -1 : int(result.reason));
            return true;
        });
        QCOMPARE(reasons, QList<int>(3, int(FailureReason::ParentMissing)));
        // Inside the folder made, the whole tree.
        QVERIFY(target->MakeFolder(u"a03").made);
        target->MakeSubfolders(u"a03", *tree,
                               [](qsizetype, const CreateResult& result) { return result.made; });
        QVERIFY(QFileInfo(dir.filePath("moved/a03/s/t")).isDir());
        QVERIFY(QFileInfo(dir.filePath("moved/a03/u")).isDir());

        // A name with "/" goes into the folders its first names lead to, never through a
        // link, whether one was there before or put there after a folder inside was made.
        QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("moved/link")));
        QCOMPARE(target->MakeFolder(u"link/x").reason, FailureReason::ParentMissing);
        QVERIFY(target->MakeFolder(u"p").made && target->MakeFolder(u"p/q").made);
        QVERIFY(target->MakeFolder(u"p/q/r").made);
        QVERIFY(QDir(dir.filePath("moved")).rename("p", "p-moved"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), dir.filePath("moved/p")));
        // The folder that "p/q" led to stays open: its next folder is made in it, wherever
        // it went; any other way is opened afresh and meets the link.
        QVERIFY(target->MakeFolder(u"p/q/t").made);
        QCOMPARE(target->MakeFolder(u"p/s").reason, FailureReason::ParentMissing);
        QVERIFY(QFileInfo(dir.filePath("moved/p-moved/q/t")).isDir());
        QVERIFY(QDir(dir.filePath("elsewhere")).isEmpty());
#endif
    }
};

QTEST_GUILESS_MAIN(FolderSeriesTest)
#include "folderseries_test.moc"
