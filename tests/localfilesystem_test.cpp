#include "platform/localfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using kovaldi::LocalFileSystem;

namespace {

bool IsDirectoryBytes(const QByteArray& path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

class LocalFileSystemTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_root; // with "/" at the end

    // "@" in a row's path stands for the temporary folder.
    QString Resolved(QString path) const { return path.replace("@/", m_root); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + "/";
        QVERIFY(QDir(m_dir.path()).mkpath("folder/inner"));
        QFile file(m_dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void folderExists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");

        QTest::newRow("folder") << "@/folder" << true;
        QTest::newRow("folder with a backslash") << "@/folder\\" << true;
        QTest::newRow("folder with a slash") << "@/folder/" << true;
        QTest::newRow("nested with backslashes") << "@/folder\\inner\\" << true;
        QTest::newRow("regular file") << "@/file" << false;
        QTest::newRow("regular file as a base folder") << "@/file\\" << false;
        QTest::newRow("missing") << "@/missing\\" << false;
        QTest::newRow("empty text") << "" << false;
        QTest::newRow("Windows drive path") << "C:\\work\\" << false;
        QTest::newRow("NUL cuts nothing short") << QString("@/folder") + QChar(0) + "x" << false;
        QTest::newRow("lone surrogate") << QString("@/folder") + QChar(0xD800) << false;
    }
    void folderExists()
    {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        QCOMPARE(LocalFileSystem().FolderExists(Resolved(path)), exists);
    }

    void createFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("made");
        QTest::addColumn<QString>("check"); // with "made": this folder exists afterwards

        const QString kana85 = QString(85, QChar(u'あ'));
        QTest::newRow("new folder") << "@/new" << true << "@/new";
        QTest::newRow("backslash is a separator") << "@/folder\\sub" << true << "@/folder/sub";
        QTest::newRow("trailing separator") << "@/trail\\" << true << "@/trail";
        QTest::newRow("blanks are part of the name") << "@/ sp " << true << "@/ sp ";
        QTest::newRow("255 bytes of kana") << "@/" + kana85 << true << "@/" + kana85;
        QTest::newRow("emoji beyond the basic plane") << "@/\U0001F4C1" << true << "@/\U0001F4C1";

        QTest::newRow("exists as a folder") << "@/folder" << false << "";
        QTest::newRow("exists as a file") << "@/file" << false << "";
        QTest::newRow("parent missing") << "@/missing\\child" << false << "";
        QTest::newRow("parent is a file") << "@/file\\child" << false << "";
        QTest::newRow("256 bytes of kana and a letter") << "@/" + kana85 + "x" << false << "";
        QTest::newRow("86 kana") << "@/" + QString(86, QChar(u'あ')) << false << "";
        QTest::newRow("NUL in the name") << QString("@/nul") + QChar(0) + "x" << false << "";
        QTest::newRow("lone surrogate") << QString("@/bad") + QChar(0xDC00) << false << "";
        QTest::newRow("empty text") << "" << false << "";
        QTest::newRow("refused even to the superuser") << "/proc/kovaldi" << false << "";
    }
    void createFolder()
    {
        QFETCH(QString, path);
        QFETCH(bool, made);
        QFETCH(QString, check);
        LocalFileSystem fileSystem;
        QCOMPARE(fileSystem.CreateFolder(Resolved(path)), made);
        if (made)
            QVERIFY(QFileInfo(Resolved(check)).isDir());
    }

    void createsOnlyTheLastComponent()
    {
        LocalFileSystem fileSystem;
        QVERIFY(!fileSystem.CreateFolder(m_root + "a\\b\\c"));
        QVERIFY(!QFileInfo::exists(m_root + "a"));
        QVERIFY(QFile::exists(m_root + "file")); // nothing replaced the file
    }

    void namesAreUtf8Bytes()
    {
        QVERIFY(LocalFileSystem().CreateFolder(m_root + "写真001"));
        QVERIFY(IsDirectoryBytes(QFile::encodeName(m_root) + "\xe5\x86\x99\xe7\x9c\x9f"
                                                             "001"));
    }

    void refusedAccessFails()
    {
        if (::geteuid() == 0)
            QSKIP("the superuser is never refused");
        QVERIFY(QDir(m_dir.path()).mkdir("locked"));
        QVERIFY(QFile::setPermissions(m_root + "locked", QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!LocalFileSystem().CreateFolder(m_root + "locked\\x"));
        QFile::setPermissions(m_root + "locked",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(LocalFileSystemTest)
#include "localfilesystem_test.moc"
