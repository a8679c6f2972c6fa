// The largest run the boxes allow, -9999 to 99999 (109,999 folders), against the machine's file
// system: it completes, and the process's memory does not grow with the number of folders.
#include "platform/localfilesystem.h"
#include "run/batchrun.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kovaldi;

namespace {

// Resident set figures from /proc/self/status, in kB; -1 when they cannot be read.
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

// Keeps only the latest of everything the run sets, as a window does.
class LatestWindow : public RunWindow
{
public:
    explicit LatestWindow(QString target) : m_target(std::move(target)) {}

    QString status;
    float progress = 0;
    QStringList told;
    qint64 statusCount = 0;

    QString TargetFolderText() const override { return m_target; }
    QString HeaderText() const override { return QStringLiteral("f"); }
    QString FooterText() const override { return QString(); }
    QString MinimumText() const override { return QStringLiteral("-9999"); }
    QString MaximumText() const override { return QStringLiteral("99999"); }
    QString DigitCountText() const override { return QStringLiteral("5"); }
    void SetStatus(const QString& text) override
    {
        status = text;
        ++statusCount;
    }
    void SetProgress(float value) override { progress = value; }
    bool Ask(const QString&) override { return true; }
    void Tell(const QString& text, MessageKind) override { told << text; }
    void LockInputs() override {}
    void UnlockInputs() override {}
    void PumpEvents() override {}

private:
    QString m_target;
};

class CountingSettings : public SettingsStore
{
public:
    int saves = 0;
    bool SaveSetting(const QString&, const QString&, const QString&, const QString&) override
    {
        ++saves;
        return true;
    }
};

} // namespace

class LargestRunTest : public QObject
{
    Q_OBJECT
private slots:
    void memoryDoesNotGrowPerFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        LatestWindow window(dir.path());
        LocalFileSystem fileSystem;
        CountingSettings settings;

        const qint64 before = StatusKb("VmRSS");
        if (before < 0)
            QSKIP("no /proc/self/status here");
        QElapsedTimer timer;
        timer.start();
        RunBatch(window, fileSystem, settings);
        const qint64 elapsedMs = timer.elapsed();
        const qint64 peak = StatusKb("VmHWM");

        QCOMPARE(window.told, QStringList{QStringLiteral("完了！")});
        QCOMPARE(window.statusCount, 109999);
        QCOMPARE(window.status, QStringLiteral("f99999 作成中・・・"));
        QCOMPARE(window.progress, 100.0f);
        QCOMPARE(settings.saves, 6);
        QVERIFY(QFileInfo(dir.filePath("f-09999")).isDir());
        QVERIFY(QFileInfo(dir.filePath("f00000")).isDir());
        QVERIFY(QFileInfo(dir.filePath("f99999")).isDir());
        QCOMPARE(QDir(dir.path()).count(), 109999 + 2); // with "." and ".."

        const qint64 growthKb = peak - before;
        qInfo("109999 folders in %lld ms; resident memory %lld kB before, peak %lld kB "
              "(growth %lld kB)",
              elapsedMs, before, peak, growthKb);
        // A leak of a few dozen bytes per folder would already fail here.
        QVERIFY2(growthKb < 4 * 1024, qPrintable(QString::number(growthKb)));
    }
};

QTEST_GUILESS_MAIN(LargestRunTest)
#include "largestrun_test.moc"
