// The largest run the boxes allow, -9999 to 99999 (109,999 folders), against the machine's
// file system: it completes, and the process's memory does not grow with the folders.
#include "files/localfilesystem.h"
#include "quietwindow.h"
#include "run/batchrun.h"
#include "run/runwindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#if defined(__SANITIZE_ADDRESS__)
#define KOVALDI_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVALDI_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(KOVALDI_ADDRESS_SANITIZER)
#include <sanitizer/allocator_interface.h>
#endif

using namespace kovaldi;

namespace {

#if defined(KOVALDI_ADDRESS_SANITIZER)
// AddressSanitizer keeps freed blocks in quarantine and pads every block, so the process's
// resident memory grows with the work done even without a leak: the heap still in use is
// what must not grow with the folders.
qint64 MemoryKb()
{
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
}
qint64 PeakMemoryKb()
{
    return MemoryKb();
}
#else
// A figure of /proc/self/status in kB; -1 when it cannot be read.
qint64 StatusKb(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}
qint64 MemoryKb()
{
    return StatusKb("VmRSS");
}
qint64 PeakMemoryKb()
{
    return StatusKb("VmHWM");
}
#endif

} // namespace

class LargestRunTest : public QObject
{
    Q_OBJECT
private slots:
    void memoryDoesNotGrowPerFolder()
    {
        QTemporaryDir dir;
        test::QuietWindow window({dir.path(), "f", "", "-9999", "99999", "5"});
        LocalFileSystem fileSystem;
        const qint64 before = MemoryKb();
        if (before < 0)
            QSKIP("no /proc/self/status here");
        RunBatch(window, fileSystem, window);
        const qint64 growthKb = PeakMemoryKb() - before;

        QCOMPARE(window.told, QStringLiteral("完了！"));
        QCOMPARE(window.progress, 100.0f);
        QVERIFY(QFileInfo(dir.filePath("f-09999")).isDir());
        QCOMPARE(QDir(dir.path()).count(), 109999 + 2); // with "." and ".."
        qInfo("109999 folders; memory in use %lld kB before, grew %lld kB", before, growthKb);
        // A leak of a few dozen bytes per folder would already fail here.
        QVERIFY2(growthKb < 4 * 1024, qPrintable(QString::number(growthKb)));
    }
};

QTEST_GUILESS_MAIN(LargestRunTest)
#include "largestrun_test.moc"
