#include "files/localfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kovaldi::LocalFileSystem;

// "@/" in a row's path stands for the temporary folder, which holds "folder/inner", "file" and,
// where "\" is no separator, a folder named "back\slash".
namespace {
#if defined(Q_OS_WIN)
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif
} // namespace

class LocalFileSystemTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString Resolved(QString path) const { return path.replace("@/", m_dir.path() + "/"); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("folder/inner"));
        QFile file(m_dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!kBackslashSeparates)
            QVERIFY(QDir(m_dir.path()).mkdir("back\\slash"));
    }

    void folderExists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("folder") << "@/folder" << true;
        QTest::newRow("nested, with backslashes") << "@/folder\\inner\\" << kBackslashSeparates;
        QTest::newRow("backslash in a name") << "@/back\\slash" << !kBackslashSeparates;
        QTest::newRow("regular file") << "@/file" << false;
        QTest::newRow("missing") << "@/missing\\" << false;
        QTest::newRow("empty text") << "" << false;
        QTest::newRow("NUL cuts nothing short") << QString("@/folder") + QChar(0) + "x" << false;
        QTest::newRow("lone surrogate") << QString("@/folder") + QChar(0xD800) << false;
    }
    void folderExists()
    {
        QFETCH(QString, path);
        QTEST(LocalFileSystem().FolderExists(Resolved(path)), "exists");
    }

    void createFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("made");
        const QString kana85 = QString(85, QChar(u'あ')); // 255 bytes of UTF-8
        QTest::newRow("new folder") << "@/new" << true;
        QTest::newRow("backslash: a separator or part of the name") << "@/folder\\sub" << true;
        QTest::newRow("255 bytes of kana") << "@/" + kana85 << true;
        QTest::newRow("beyond the basic plane") << "@/\U0001F4C1" << true;
        QTest::newRow("exists as a folder") << "@/folder" << false;
        QTest::newRow("exists as a file") << "@/file" << false;
        QTest::newRow("parent missing") << "@/missing/child" << false;
        QTest::newRow("86 kana, past 255 bytes") << "@/" + kana85 + "あ" << false;
        QTest::newRow("NUL in the name") << QString("@/nul") + QChar(0) + "x" << false;
        QTest::newRow("lone low surrogate") << QString("@/bad") + QChar(0xDC00) << false;
        QTest::newRow("empty text") << "" << false;
        QTest::newRow("refused even to the superuser") << "/proc/kovaldi" << false;
    }
    void createFolder()
    {
        QFETCH(QString, path);
        QFETCH(bool, made);
        QCOMPARE(LocalFileSystem().CreateFolder(Resolved(path)), made);
        if (!made)
            return;
        QVERIFY(QFileInfo(Resolved(path)).isDir());
        if (path.contains('\\')) // on POSIX a name of its own, not a folder inside "folder"
            QCOMPARE(QFileInfo(m_dir.filePath("folder/sub")).isDir(), kBackslashSeparates);
    }
};

QTEST_GUILESS_MAIN(LocalFileSystemTest)
#include "localfilesystem_test.moc"
