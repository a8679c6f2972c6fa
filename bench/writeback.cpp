// Times the run's write-back of the six inputs into a settings file that holds a large
// block of other entries after [Config], as a hand-edited or damaged file may.
//
//   build/release/bench/kovaldi-bench-writeback [--mb 50] [--runs 3]
//
// Each run makes one folder in a fresh temporary folder, so the time is that of the
// write-back; the settings live in a temporary configuration folder.
#include "files/localfilesystem.h"
#include "run/batchrun.h"
#include "run/runwindow.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// A window whose boxes hold fixed texts and whose questions are answered Yes at once.
class QuietWindow : public kovaldi::RunWindow
{
public:
    QString target;
    QString TargetFolderText() const override { return target; }
    QString HeaderText() const override { return QStringLiteral("w"); }
    QString FooterText() const override { return {}; }
    QString MinimumText() const override { return QStringLiteral("1"); }
    QString MaximumText() const override { return QStringLiteral("1"); }
    QString DigitCountText() const override { return QStringLiteral("2"); }
    void SetStatus(const QString&) override {}
    void SetProgress(float) override {}
    bool Ask(const QString&) override { return true; }
    void Tell(const QString&, kovaldi::MessageKind) override {}
    void LockInputs() override {}
    void UnlockInputs() override {}
    void PumpEvents() override {}
};

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const auto option = [&arguments](const char* name, int fallback) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
    };
    const int megabytes = option("--mb", 50);
    const int runs = option("--runs", 3);

    const QString folder = configHome.path() + QStringLiteral("/Kovaldi");
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/Kovaldi.conf");
    QByteArray junk = "[Config]\n";
    QRandomGenerator random(12);
    for (int line = 0; junk.size() < megabytes * 1024LL * 1024; ++line) {
        junk += 'j' + QByteArray::number(line) + '=';
        for (int i = 0; i < 48; ++i)
            junk += char('a' + random.bounded(26));
        junk += '\n';
    }

    for (int run = 0; run < runs; ++run) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(junk) != junk.size())
            return 1;
        file.close();
        QTemporaryDir target;
        QuietWindow window;
        window.target = target.path();
        kovaldi::LocalFileSystem fileSystem;
        kovaldi::SettingsStore settings;
        QElapsedTimer clock;
        clock.start();
        kovaldi::RunBatch(window, fileSystem, settings);
        std::printf("%d MB file: run with write-back %lld ms, file now %lld bytes\n", megabytes,
                    clock.elapsed(), QFileInfo(path).size());
    }
    return 0;
}
