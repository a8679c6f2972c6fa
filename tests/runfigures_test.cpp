// The figures the confirmation shows: count, first and last name, and how many names exist
// already, looked up within a time budget.
#include "files/localfilesystem.h"
#include "lists/folderlist.h"
#include "naming/naming.h"
#include "run/runfigures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace kovaldi;

namespace {

FolderSeries Series(const QString& header, qint64 first, qint64 count, int digits = 0)
{
    return {header, QString(), BuildZeroMask(digits), first, count, 1};
}

// A folder "/t" whose entries live in memory, listed or looked up slowly if asked to, on a
// file system that compares names exactly or, if asked to, ignoring case.
class Fake : public FileSystem
{
public:
    QMap<QString, EntryKind> entries;
    bool listable = true;
    bool ignoresCase = false;
    int listingSleepMs = 0;
    int lookupSleepMs = 0;
    mutable int lookups = 0;

    bool FolderExists(const QString& path) const override
    {
        return KindOf(path) == EntryKind::Folder;
    }
    CreateResult CreateFolder(const QString&) override { return {}; }
    EntryKind KindOf(const QString& path) const override
    {
        ++lookups;
        QThread::msleep(lookupSleepMs);
        const Qt::CaseSensitivity cs = ignoresCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (QString::compare("/t\\" + it.key(), path, cs) == 0)
                return it.value();
        return EntryKind::Nothing;
    }
    bool ListFolder(const QString&, const Visitor& visit) const override
    {
        if (!listable)
            return false;
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it.key().contains('/'))
                continue; // inside a folder of the listing
            QThread::msleep(listingSleepMs);
            if (!visit(it.key(), it.value()))
                return false;
        }
        return true;
    }
};

} // namespace

class RunFiguresTest : public QObject
{
    Q_OBJECT
private slots:
    // Against real folders; "name/" is a folder made before, any other entry a file.
    void realFolders_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("figures"); // first, last, folders, files

        QTest::newRow("all new, negative numbers")
            << QStringList{} << "f" << -2 << 4 << QStringList{"f-2", "f1", "0", "0"};
        QTest::newRow("some taken, as a folder and as a file")
            << QStringList{"f2/", "f4", "other/"} << "f" << 1 << 5
            << QStringList{"f1", "f5", "1", "1"};
        QTest::newRow("all taken") << QStringList{"f1/", "f2/", "f3"} << "f" << 1 << 3
                                   << QStringList{"f1", "f3", "2", "1"};
        QTest::newRow("a separator in the header: looked up one by one")
            << QStringList{"sub/", "sub/f1/", "sub/f3"} << "sub/f" << 1 << 3
            << QStringList{"sub/f1", "sub/f3", "1", "1"};
    }
    void realFolders()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, header);
        QFETCH(int, first);
        QFETCH(int, count);
        QTemporaryDir dir;
        for (const QString& entry : entries) {
            QFile file(dir.filePath(entry));
            QVERIFY(entry.endsWith('/') ? QDir().mkpath(dir.filePath(entry))
                                        : file.open(QIODevice::WriteOnly));
        }
        const RunFigures figures =
            CountRunFigures(LocalFileSystem(), BuildBaseFolder(dir.path(), kPathSeparator),
                            Series(header, first, count), QDeadlineTimer(QDeadlineTimer::Forever));
        QTEST(QStringList({figures.firstName, figures.lastName,
                           QString::number(figures.existingFolders),
                           QString::number(figures.existingFiles)}),
              "figures");
        QCOMPARE(figures.count, count);
        QVERIFY(figures.Complete());
        QCOMPARE(figures.NoneNew(), figures.Existing() == count);
        QCOMPARE(figures.target, QFileInfo(dir.path()).canonicalFilePath());
    }

    // The listing answers most names without a question to the file system; a near match
    // (case) or a folder that cannot be listed is asked name by name.
    void lookups_data()
    {
        QTest::addColumn<bool>("listable");
        QTest::addColumn<bool>("ignoresCase");
        QTest::addColumn<qint64>("existing");
        QTest::addColumn<int>("lookups");

        // The folder holds f1 and F2; the names are f1, f2, f3.
        QTest::newRow("listed, exact names") << true << false << qint64(1) << 1;
        QTest::newRow("listed, case ignored") << true << true << qint64(2) << 1;
        QTest::newRow("not listable") << false << false << qint64(1) << 3;
        QTest::newRow("not listable, case ignored") << false << true << qint64(2) << 3;
    }
    void lookups()
    {
        QFETCH(bool, listable);
        QFETCH(bool, ignoresCase);
        Fake fake;
        fake.entries = {{"f1", EntryKind::Folder}, {"F2", EntryKind::Folder}};
        fake.listable = listable;
        fake.ignoresCase = ignoresCase;
        const RunFigures figures = CountRunFigures(fake, "/t\\", Series("f", 1, 3),
                                                   QDeadlineTimer(QDeadlineTimer::Forever));
        QTEST(figures.Existing(), "existing");
        QTEST(fake.lookups, "lookups");
    }

    // The listing reads an entry as a name of the series only in the form the zero mask
    // writes it; the series is f-5 to f5.
    void listingReadsNamesBack_data()
    {
        QTest::addColumn<int>("digits");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<qint64>("existing");
        QTest::newRow("two digits")
            << 2 << QStringList{"f-05", "f05",  "f00",  "f5", "f005", "f-00", "f06", "f-06",
                                "f01x", "xf01", "f+01", "f",  "f-",   "f0a",  "f١٢"}
            << qint64(3);
        QTest::newRow("no padding")
            << 0 << QStringList{"f-5", "f0", "f5", "f05", "f-0", "f00"} << qint64(3);
        QTest::newRow("nineteen digits")
            << 19 << QStringList{"f" + QString(18, '0') + "1", "f" + QString(19, '0') + "1"}
            << qint64(1);
    }
    void listingReadsNamesBack()
    {
        QFETCH(int, digits);
        QFETCH(QStringList, entries);
        Fake fake;
        for (const QString& entry : entries)
            fake.entries.insert(entry, EntryKind::Folder);
        const RunFigures figures = CountRunFigures(fake, "/t\\", Series("f", -5, 11, digits),
                                                   QDeadlineTimer(QDeadlineTimer::Forever));
        QTEST(figures.Existing(), "existing");
        QCOMPARE(fake.lookups, 0);
    }

    // Capitals in the header alone: a listed name that differs only by case is asked of
    // the file system, which alone knows whether it ignores case.
    void capitalsInTheHeader()
    {
        for (const bool ignoresCase : {false, true}) {
            Fake fake;
            fake.entries = {{"img1", EntryKind::Folder}, {"IMG2", EntryKind::Folder}};
            fake.ignoresCase = ignoresCase;
            const RunFigures figures = CountRunFigures(fake, "/t\\", Series("IMG", 1, 3),
                                                       QDeadlineTimer(QDeadlineTimer::Forever));
            QCOMPARE(figures.Existing(), ignoresCase ? 2 : 1);
        }
    }

    // A slow file system does not hold up the question: the figures say how far they got.
    void timeBudget_data()
    {
        QTest::addColumn<int>("listingSleepMs");
        QTest::addColumn<int>("lookupSleepMs");
        QTest::newRow("slow lookups, no listing") << -1 << 5;
        QTest::newRow("slow listing, then slow lookups") << 5 << 5;
    }
    void timeBudget()
    {
        QFETCH(int, listingSleepMs);
        QFETCH(int, lookupSleepMs);
        Fake fake;
        for (int i = 1; i <= 1000; ++i)
            fake.entries.insert("f" + QString::number(i), EntryKind::Folder);
        fake.listable = listingSleepMs >= 0;
        fake.listingSleepMs = listingSleepMs;
        fake.lookupSleepMs = lookupSleepMs;
        // 1,000 names at 5 ms each would take 5 s.
        const RunFigures figures =
            CountRunFigures(fake, "/t\\", Series("f", 1, 1000), QDeadlineTimer(200));
        QVERIFY(!figures.Complete());
        QVERIFY(figures.checked < 1000);
        QCOMPARE(figures.existingFolders, figures.checked);
        QCOMPARE(figures.lastName, QStringLiteral("f1000"));
    }

    // The lines of a list checked with one listing of the folder say what the file system
    // says of each line asked one by one, on a file system that compares names exactly and
    // on one that ignores case.
    void listCheckedByListing_data()
    {
        QTest::addColumn<bool>("ignoresCase");
        QTest::newRow("exact names") << false;
        QTest::newRow("case ignored") << true;
    }
    void listCheckedByListing()
    {
        QFETCH(bool, ignoresCase);
        Fake fake;
        fake.ignoresCase = ignoresCase;
        fake.entries = {{"a", EntryKind::Folder}, {"a/b", EntryKind::Folder},
                        {"a/f", EntryKind::File}, {"Cap", EntryKind::Folder},
                        {"Ä", EntryKind::File},   {"file", EntryKind::File}};
        const QStringList paths{"a",     "A", "a/b", "A/B",  "a/f",    "a/x", "cap",   "Cap",
                                "cap/x", "ä", "Ä",   "file", "file/x", "new", "new/x", "b"};
        QString text = paths.join('\n');
        const std::optional<FolderList> list = FolderList::FromText(text, {}, nullptr);
        QVERIFY(list);
        Fake unlisted = fake;
        unlisted.listable = false;
        ListChecker byListing(fake, "/t\\");
        ListChecker oneByOne(unlisted, "/t\\");
        for (const ListLine& line : list->lines)
            QCOMPARE(byListing.KindOf(line.path), oneByOne.KindOf(line.path));
        QCOMPARE(byListing.KindOf("a/b"), EntryKind::Folder);
        QCOMPARE(byListing.KindOf("a/f"), EntryKind::File);
    }
};

QTEST_GUILESS_MAIN(RunFiguresTest)
#include "runfigures_test.moc"
