// Where an empty target box starts, what relative targets are taken from, and the home
// shorthand: the choice against given answers, the probe against real folders. The window's
// use of them, in the run and in Browse: firststart_test.
#include "files/filesystem.h"
#include "paths/targetdefaults.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

class TargetDefaultsTest : public QObject
{
    Q_OBJECT
private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QStringList>("writable");
        QTest::addColumn<QStringList>("expected"); // box text, relative base, "home" or not

        const QString program = QStringLiteral("/opt/kovaldi");
        const QString home = QStringLiteral("/home/ユーザー");
        QTest::newRow("portable copy in a folder of the user's")
            << program << home << QStringList{program, home}
            << QStringList{program, program, "program"};
        QTest::newRow("installed: the home folder instead")
            << program << home << QStringList{home} << QStringList{home, home, "home"};
        QTest::newRow("neither writable: the program's folder")
            << program << home << QStringList{} << QStringList{program, program, "program"};
        QTest::newRow("no home folder known")
            << program << QString() << QStringList{""} << QStringList{program, program, "program"};
        const QString sep(kPathSeparator);
        QTest::newRow("home given with a trailing separator")
            << program << home + sep << QStringList{home + sep}
            << QStringList{home, home + sep, "home"};
    }
    void choice()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QString, home);
        QFETCH(QStringList, writable);
        const TargetDefaults defaults =
            ChooseTargetDefaults(executableFolder, home,
                                 [&](const QString& folder) { return writable.contains(folder); });
        QTEST((QStringList{defaults.boxText, defaults.relativeBase,
                           defaults.fromHome ? "home" : "program"}),
              "expected");
    }

    // Real folders; the probe leaves nothing behind. Some rows refuse folders even to root,
    // whom permissions do not stop.
    void probe_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("canCreate");
        QTest::newRow("a folder of the user's") << "folder" << true;
        QTest::newRow("same with a trailing separator") << "folder/" << true;
        QTest::newRow("a file in the folder's place") << "file" << false;
        QTest::newRow("a folder that is gone") << "missing" << false;
        QTest::newRow("empty text") << "" << false;
        QTest::newRow("a read-only folder") << "read-only" << false;
#if defined(Q_OS_LINUX)
        QTest::newRow("a system folder that takes no folders (/proc)") << "/proc" << false;
#endif
    }
    void probe()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QDir(dir.path()).mkdir("folder") && QDir(dir.path()).mkdir("read-only"));
        const QString readOnly = dir.filePath("read-only");
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        const QString folder = kind.isEmpty() || kind.startsWith('/') ? kind : dir.filePath(kind);
        const bool result = CanCreateFoldersIn(QDir::toNativeSeparators(folder));
        if (kind == "read-only" && result)
            QSKIP("permissions do not stop this user (root, or a system without them); the "
                  "file and /proc rows stand in for them");
        QTEST(result, "canCreate");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{"file", "folder", "read-only"}));
        QCOMPARE(QDir(dir.filePath("folder"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void homeShorthand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("expanded");
        const QString home = QStringLiteral("/home/ユーザー");
        QTest::newRow("alone") << "~" << home << home;
        QTest::newRow("with a separator") << "~/" << home << home + "/";
        QTest::newRow("with a path") << "~/写真/2024" << home << home + "/写真/2024";
        QTest::newRow("home at the root") << "~/a"
                                          << "/"
                                          << "/a";
        QTest::newRow("another user's home is left") << "~user/a" << home << "~user/a";
        QTest::newRow("two tildes are a name") << "~~" << home << "~~";
        QTest::newRow("a leading blank makes it a name") << " ~/a" << home << " ~/a";
        QTest::newRow("a tilde further on is a name") << "a/~/b" << home << "a/~/b";
        QTest::newRow("no home known") << "~/a"
                                       << ""
                                       << "~/a";
#if defined(Q_OS_WIN)
        QTest::newRow("backslash separator") << "~\\a"
                                             << "C:\\Users\\u"
                                             << "C:\\Users\\u\\a";
#else
        QTest::newRow("a backslash is part of the name") << "~\\a" << home << "~\\a";
#endif
    }
    void homeShorthand()
    {
        QFETCH(QString, text);
        QFETCH(QString, home);
        QTEST(ExpandHomeShorthand(text, home), "expanded");
    }
};

QTEST_GUILESS_MAIN(TargetDefaultsTest)
#include "targetdefaults_test.moc"
