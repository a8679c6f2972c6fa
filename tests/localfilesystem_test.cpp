#include "files/localfilesystem.h"
#include "files/nativename.h"
#include "files/reasoncodes.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_WIN)
#include <windows.h>
#ifndef ERROR_DISK_QUOTA_EXCEEDED // the Windows SDK has it, MinGW-w64 not
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif
#else
#include <cerrno>
#include <unistd.h>
#endif

using namespace kovaldi;

namespace {

// Makes the entries of a list inside root: "name/" a folder, "name>target" a symbolic
// link, anything else an empty file.
bool Make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString path = root + '/' + entry.section('>', 0, 0);
        if (entry.endsWith('/')) {
            if (!QDir().mkpath(path))
                return false;
        } else if (entry.contains('>')) {
            if (!QFile::link(entry.section('>', 1), path))
                return false;
        } else if (QFile file(path); !file.open(QIODevice::WriteOnly)) {
            return false;
        }
    }
    return true;
}

// Every entry under root, links not followed, relative and sorted.
QStringList Tree(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

// Whether a folder without write permission refuses this process (not the superuser's,
// and not on Windows, where the read-only attribute does not bind folders).
bool PermissionsBind()
{
#if defined(Q_OS_WIN)
    return false;
#else
    return ::geteuid() != 0;
#endif
}

#if defined(Q_OS_WIN)
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

// Symbolic links; on Windows QFile::link makes shortcut files instead.
#if defined(Q_OS_WIN)
const bool kLinks = false;
#else
const bool kLinks = QFile::link(QStringLiteral("."), QDir::tempPath() + "/kovaldi-link-probe") &&
                    QFile::remove(QDir::tempPath() + "/kovaldi-link-probe");
#endif

} // namespace

// "@/" in a row's path stands for the temporary folder, which holds "folder/inner", "file",
// where "\" is no separator a folder named "back\slash", and where the system has symbolic
// links "tofolder" (to folder) and "dangling".
class LocalFileSystemTest : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString Resolved(QString path) const { return path.replace("@/", m_dir.path() + "/"); }

private slots:
    void initTestCase()
    {
        QVERIFY(Make(m_dir.path(), {"folder/inner/", "file"}));
        if (!kBackslashSeparates)
            QVERIFY(Make(m_dir.path(), {"back\\slash/"}));
        if (kLinks)
            QVERIFY(Make(m_dir.path(), {"tofolder>folder", "dangling>missing"}));
    }

    void kindOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<EntryKind>("kind");
        QTest::newRow("folder") << "@/folder" << EntryKind::Folder;
        QTest::newRow("nested, with backslashes")
            << "@/folder\\inner\\"
            << (kBackslashSeparates ? EntryKind::Folder : EntryKind::Nothing);
        QTest::newRow("backslash in a name")
            << "@/back\\slash" << (kBackslashSeparates ? EntryKind::Nothing : EntryKind::Folder);
        QTest::newRow("regular file") << "@/file" << EntryKind::File;
        QTest::newRow("missing") << "@/missing\\" << EntryKind::Nothing;
        QTest::newRow("empty text") << "" << EntryKind::Nothing;
        QTest::newRow("NUL cuts nothing short")
            << QString("@/folder") + QChar(0) + "x" << EntryKind::Nothing;
        QTest::newRow("lone surrogate")
            << QString("@/folder") + QChar(0xD800) << EntryKind::Nothing;
        if (kLinks) {
            QTest::newRow("link to a folder") << "@/tofolder" << EntryKind::Folder;
            QTest::newRow("link to nothing") << "@/dangling" << EntryKind::File;
        }
    }
    void kindOf()
    {
        QFETCH(QString, path);
        QFETCH(EntryKind, kind);
        QCOMPARE(LocalFileSystem().KindOf(Resolved(path)), kind);
        QCOMPARE(LocalFileSystem().FolderExists(Resolved(path)), kind == EntryKind::Folder);
    }

    void listFolder()
    {
        QMap<QString, EntryKind> found;
        QVERIFY(
            LocalFileSystem().ListFolder(m_dir.path(), [&](const QString& name, EntryKind kind) {
                found.insert(name, kind);
                return true;
            }));
        QMap<QString, EntryKind> expected{{"folder", EntryKind::Folder}, {"file", EntryKind::File}};
        if (!kBackslashSeparates)
            expected.insert("back\\slash", EntryKind::Folder);
        if (kLinks)
            expected.insert({{"tofolder", EntryKind::Folder}, {"dangling", EntryKind::File}});
        QCOMPARE(found, expected);
        QVERIFY(!LocalFileSystem().ListFolder(m_dir.filePath("missing"), {}));
    }

    // "made", or the reason's code.
    void createFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const QString& path, const QString& reason) {
            QTest::newRow(name) << path << reason;
        };
        const QString longest = kovaldi::test::LongestFolderName(u'あ');
        row("new folder", "@/new", "made");
        row("backslash: a separator or part of the name", "@/folder\\sub", "made");
        row("the longest name, in kana", "@/" + longest, "made");
        row("beyond the basic plane", "@/\U0001F4C1", "made");
        row("exists as a folder", "@/folder", "exists-as-folder");
        row("exists as a file", "@/file", "exists-as-file");
        row("parent missing", "@/missing/child", "parent-missing");
        row("a file on the way", "@/file/child", "parent-missing");
        row("one kana past the longest name", "@/" + longest + "あ", "name-too-long");
        row("NUL in the name", QString("@/nul") + QChar(0) + "x", "invalid-name");
        row("lone low surrogate", QString("@/bad") + QChar(0xDC00), "invalid-name");
        row("lone high surrogate", QString("@/bad") + QChar(0xD800) + "x", "invalid-name");
        row("empty text", "", "invalid-name");
        if (kLinks) {
            row("link to a folder", "@/tofolder", "exists-as-folder");
            row("link to nothing", "@/dangling", "exists-as-file");
        }
        if (PermissionsBind())
            row("access refused", "@/locked/x", "access-refused");
    }
    void createFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        const QString locked = m_dir.filePath("locked");
        if (path.contains("locked")) {
            QVERIFY(QDir().mkpath(locked));
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        }
        const CreateResult result = LocalFileSystem().CreateFolder(Resolved(path));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.made ? QStringLiteral("made") : ReasonCode(result.reason), reason);
        if (!result.made)
            return;
        QVERIFY(QFileInfo(Resolved(path)).isDir());
        if (path.contains('\\')) // on POSIX a name of its own, not a folder inside "folder"
            QCOMPARE(QFileInfo(m_dir.filePath("folder/sub")).isDir(), kBackslashSeparates);
    }

    // Reasons the file systems here cannot be made to give.
    void reasonOfSystemError_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
#if defined(Q_OS_WIN)
        QTest::newRow("disk full") << int(ERROR_DISK_FULL) << "disk-full";
        QTest::newRow("quota") << int(ERROR_DISK_QUOTA_EXCEEDED) << "disk-full";
        QTest::newRow("write-protected") << int(ERROR_WRITE_PROTECT) << "read-only";
        QTest::newRow("invalid name") << int(ERROR_INVALID_NAME) << "invalid-name";
        QTest::newRow("name too long") << int(ERROR_FILENAME_EXCED_RANGE) << "name-too-long";
        QTest::newRow("access denied") << int(ERROR_ACCESS_DENIED) << "access-refused";
        QTest::newRow("path not found") << int(ERROR_PATH_NOT_FOUND) << "parent-missing";
        QTest::newRow("anything else") << int(ERROR_GEN_FAILURE) << "other";
#else
        QTest::newRow("disk full") << ENOSPC << "disk-full";
        QTest::newRow("quota") << EDQUOT << "disk-full";
        QTest::newRow("read-only file system") << EROFS << "read-only";
        QTest::newRow("invalid") << EINVAL << "invalid-name";
        QTest::newRow("not the file system's encoding") << EILSEQ << "invalid-name";
        QTest::newRow("operation not permitted") << EPERM << "access-refused";
        QTest::newRow("too many links") << EMLINK << "other";
        QTest::newRow("input/output error") << EIO << "other";
#endif
    }
    void reasonOfSystemError()
    {
        QFETCH(int, code);
        const CreateResult result = LocalFileSystem::FailureFromSystemError(code);
        QVERIFY(!result.made);
        QTEST(ReasonCode(result.reason), "reason");
        QVERIFY(!result.systemText.isEmpty());
    }

    // Each row runs in a fresh target "t", dry run first (which must change nothing), then
    // for real; "removed", or the reason's code.
    void removeEmptyFolder_data()
    {
        QTest::addColumn<QStringList>("entries"); // inside the temporary folder
        QTest::addColumn<QString>("name");        // inside t
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const QStringList& entries, const QString& inside,
                            const QString& reason) {
            QTest::newRow(name) << entries << inside << reason;
        };
        const QStringList t{"t/"};
        row("empty folder", t + QStringList{"t/x/"}, "x", "removed");
        row("nested", t + QStringList{"t/a/x/"}, "a/x", "removed");
        if (!kBackslashSeparates)
            row("backslash in the name", t + QStringList{"t/a\\x/", "t/a/x/"}, "a\\x", "removed");
        row("not empty", t + QStringList{"t/x/", "t/x/f"}, "x", "not-empty");
        row("not empty, a folder inside", t + QStringList{"t/x/y/"}, "x", "not-empty");
        row("gone", t, "x", "gone");
        row("a file has its name", t + QStringList{"t/x"}, "x", "replaced-by-file");
        row("climbing out", {"t/", "x/"}, "../x", "outside-target");
        row("climbing out further down", {"t/a/", "x/"}, "a/../../x", "outside-target");
        row("the target itself", t, ".", "outside-target");
        row("the target gone", {"x/"}, "x", "gone");
        if (kLinks) {
            row("a link to an empty folder has its name", {"t/", "e/", "t/x>../e"}, "x",
                "replaced-by-link");
            row("a link on the way", {"t/", "e/x/", "t/a>../e"}, "a/x", "replaced-by-link");
        }
        if (PermissionsBind())
            row("access refused", t + QStringList{"t/x/"}, "x", "access-refused");
    }
    void removeEmptyFolder()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(Make(dir.path(), entries));
        const QString target = dir.filePath("t");
        const bool lock = QByteArray(QTest::currentDataTag()) == "access refused";
        if (lock)
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner);
        const QStringList before = Tree(dir.path());

        LocalFileSystem fileSystem;
        const RemoveResult dry = fileSystem.RemoveEmptyFolder(target, name, true);
        QCOMPARE(dry.removed ? QStringLiteral("removed") : ReasonCode(dry.reason), reason);
        QCOMPARE(Tree(dir.path()), before);

        const RemoveResult result = fileSystem.RemoveEmptyFolder(target, name, false);
        if (lock)
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.removed ? QStringLiteral("removed") : ReasonCode(result.reason), reason);
        QStringList expected = before;
        if (result.removed)
            expected.removeOne("t/" + name);
        QCOMPARE(Tree(dir.path()), expected);
    }

    void absoluteFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("absolute");
        QTest::newRow("absolute, trailing separator") << "@/folder/" << QString("@/folder");
        QTest::newRow("relative to the current folder")
            << "folder/inner" << QString("@/folder/inner");
        if (kLinks)
            QTest::newRow("through a link") << "@/tofolder/inner" << QString("@/folder/inner");
    }
    void absoluteFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, absolute);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const QString result = LocalFileSystem().AbsoluteFolder(Resolved(path));
        QDir::setCurrent(previous);
        const QString root = QFileInfo(m_dir.path()).canonicalFilePath();
        QCOMPARE(QDir::fromNativeSeparators(result), absolute.replace("@", root));
    }

    // A name's bytes read as text and written back are the same bytes, whatever they are.
    void nativeNames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QChar ff(0xDCFF);
        QTest::newRow("ASCII") << QByteArray("img001") << QString("img001");
        QTest::newRow("UTF-8") << QByteArray("\xe7\x94\xbb\xf0\x9f\x93\x81")
                               << QString::fromUtf8("\xe7\x94\xbb\xf0\x9f\x93\x81");
        QTest::newRow("a byte that is not UTF-8") << QByteArray("a\xff"
                                                                "b")
                                                  << QString("a") + ff + "b";
        QTest::newRow("lead byte cut short")
            << QByteArray("\xe7\x94") << QString(QChar(0xDCE7)) + QChar(0xDC94);
        QTest::newRow("overlong slash")
            << QByteArray("\xc0\xaf") << QString(QChar(0xDCC0)) + QChar(0xDCAF);
        QTest::newRow("encoded surrogate")
            << QByteArray("\xed\xa0\x80") << QString(QChar(0xDCED)) + QChar(0xDCA0) + QChar(0xDC80);
        QTest::newRow("a byte order mark first")
            << QByteArray("\xef\xbb\xbfx") << QString(QChar(0xFEFF)) + "x";
        QTest::newRow("a byte order mark inside")
            << QByteArray("t\xef\xbb\xbfx") << "t" + QString(QChar(0xFEFF)) + "x";
        QTest::newRow("past U+10FFFF")
            << QByteArray("\xf4\x90\x80\x80")
            << QString(QChar(0xDCF4)) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80);
    }
    void nativeNames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(kovaldi::NameFromNative(bytes), text);
        QVERIFY(kovaldi::EncodesWhole(text));
        QCOMPARE(kovaldi::NativeName(text), bytes);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        QCOMPARE(kovaldi::HoldsRawBytes(text), QString(utf8(bytes)).toUtf8() != bytes);
    }

    // Any bytes at all come back from their text as they were.
    void nativeNamesRoundTrip()
    {
        QRandomGenerator random(21);
        for (int i = 0; i < 20000; ++i) {
            QByteArray bytes(int(random.bounded(1, 12)), Qt::Uninitialized);
            for (char& byte : bytes)
                byte = char(random.bounded(1, 256));
            const QString text = kovaldi::NameFromNative(bytes);
            QVERIFY(kovaldi::EncodesWhole(text));
            QCOMPARE(kovaldi::NativeName(text), bytes);
        }
    }
};

QTEST_GUILESS_MAIN(LocalFileSystemTest)
#include "localfilesystem_test.moc"
