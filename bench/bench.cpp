// Times Kovaldi's run through the real main window (with its count of existing names and its
// journal) against a bare loop of mkdir calls over the same names, its start-up against a
// minimal Qt window (and, to tell the cost of a Japanese interface from Kovaldi's own,
// against the same window with a Japanese line), and the count of existing names that the
// confirmation shows.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bench/kovaldi-bench
//   options: --sizes 20000,110000  --pairs 6  --startups 10  --settle 3 (seconds before
//            each half)  --dir <folder for the runs>  --journal on|off
//            --count 110000 (names counted, 0 for none)  --counts 5 (times each)
//
// Each pair makes one run in the window and one bare loop, in alternating order, each in
// a fresh folder that is removed afterwards; the ratio is window / bare.
#include "benchseries.h"
#include "desktop/appearance.h"
#include "files/localfilesystem.h"
#include "mainwindow/mainwindow.h"
#include "naming/naming.h"
#include "run/runfigures.h"
#include "settings/settingsstore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace kovaldi::bench;

struct Options
{
    std::vector<int> sizes{20000, 110000};
    int pairs = 6;
    int settleSeconds = 3;
    int startups = 10;
    QString folder = QDir::tempPath();
    bool journal = true;
    int countSize = 110000;
    int counts = 5;
};

Options ParseOptions(const QStringList& arguments)
{
    Options options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const QString& value = arguments[i + 1];
        if (name == QLatin1String("--sizes")) {
            options.sizes.clear();
            for (const QString& size : value.split(QLatin1Char(',')))
                options.sizes.push_back(size.toInt());
        } else if (name == QLatin1String("--pairs")) {
            options.pairs = value.toInt();
        } else if (name == QLatin1String("--settle")) {
            options.settleSeconds = value.toInt();
        } else if (name == QLatin1String("--startups")) {
            options.startups = value.toInt();
        } else if (name == QLatin1String("--dir")) {
            options.folder = value;
        } else if (name == QLatin1String("--journal")) {
            options.journal = value != QLatin1String("off");
        } else if (name == QLatin1String("--count")) {
            options.countSize = value.toInt();
        } else if (name == QLatin1String("--counts")) {
            options.counts = value.toInt();
        }
    }
    return options;
}

// "median M (min A, max B)" of ratios, with the given number of decimals.
std::string Spread(const std::vector<double>& ratios, int decimals)
{
    if (ratios.empty())
        return "no figures";
    const auto [min, max] = std::minmax_element(ratios.begin(), ratios.end());
    char text[96];
    std::snprintf(text, sizeof text, "median %.*f  (min %.*f, max %.*f)", decimals, Median(ratios),
                  decimals, *min, decimals, *max);
    return text;
}

// Answers the window's message boxes at once: Yes to the question, OK to the outcome, and
// times the run: from Make to the question (the count of existing names), then from Yes
// to the outcome (the folders and the journal), leaving out the time the question is up.
class Answerer : public QObject
{
public:
    Answerer()
    {
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                m_beforeQuestion = m_clock.nsecsElapsed() / 1e9;
                m_clock.start();
                yes->click();
            } else {
                m_seconds = m_beforeQuestion + m_clock.nsecsElapsed() / 1e9;
                m_outcome = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
    }
    void start()
    {
        m_timer.start();
        m_clock.start();
    }
    void stop() { m_timer.stop(); }
    double seconds() const { return m_seconds; }
    const QString& outcome() const { return m_outcome; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_beforeQuestion = 0;
    double m_seconds = 0;
    QString m_outcome;
};

double WindowRun(kovaldi::MainWindow& window, const QString& folder, int size)
{
    const auto [min, max] = RangeOf(size);
    const std::pair<const char*, QString> inputs[] = {
        {"txtPath", folder},
        {"txtHeader", kHeader},
        {"txtFooter", QString()},
        {"txtMin", QString::number(min)},
        {"txtMax", QString::number(max)},
        {"txtBeam", QString::number(kDigits)},
    };
    for (const auto& [box, text] : inputs)
        window.findChild<QLineEdit*>(QLatin1String(box))->setText(text);
    Answerer answerer;
    answerer.start();
    window.cmdMake_Click();
    answerer.stop();
    if (answerer.outcome() != QStringLiteral("完了！"))
        std::fprintf(stderr, "unexpected outcome: %s\n", qPrintable(answerer.outcome()));
    return answerer.seconds();
}

double BareRun(const QString& folder, int size)
{
    const std::vector<std::string> paths = BarePaths(folder, size);
    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    for (const std::string& path : paths)
        failures += ::mkdir(path.c_str(), 0777) != 0;
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (failures)
        std::fprintf(stderr, "bare loop: %d failures\n", failures);
    return seconds;
}

void BenchmarkRuns(const Options& options)
{
    if (options.pairs < 1)
        return;
    kovaldi::SettingsStore settings;
    kovaldi::MainWindow window(settings);
    window.centreOnScreen();
    window.show();
    window.activateWindow();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();

    for (const int size : options.sizes) {
        if (size < 1)
            continue;
        std::printf("\nrun of %d folders (window run vs bare mkdir loop, seconds)\n", size);
        std::vector<double> ratios;
        for (int pair = 0; pair < options.pairs; ++pair) {
            double windowSeconds = 0, bareSeconds = 0;
            for (int half = 0; half < 2; ++half) {
                // Each half starts with the disk's queue empty and settled, so neither pays
                // for the write-back of the other's folders (removing a run's folders leaves
                // as much to write as making them, and a virtual disk goes on writing after
                // sync has returned).
                ::sync();
                ::sleep(unsigned(std::max(0, options.settleSeconds)));
                QTemporaryDir folder(options.folder + QStringLiteral("/kovaldi-bench-XXXXXX"));
                if ((half == 0) == (pair % 2 == 0))
                    windowSeconds = WindowRun(window, folder.path(), size);
                else
                    bareSeconds = BareRun(folder.path(), size);
            }
            ratios.push_back(windowSeconds / bareSeconds);
            std::printf("  pair %d: window %.3f  bare %.3f  ratio %.3f\n", pair + 1, windowSeconds,
                        bareSeconds, ratios.back());
            std::fflush(stdout);
        }
        // The pairs alternate which half goes first; with an even number of pairs the
        // geometric mean weighs both orders alike.
        double logSum = 0;
        for (const double ratio : ratios)
            logSum += std::log(ratio);
        std::printf("  ratio %s  geometric mean %.3f\n", Spread(ratios, 3).c_str(),
                    std::exp(logSum / double(ratios.size())));
    }
}

// Drops the kernel's caches of file-system entries where this process may (as root), so
// that the next look at a folder goes to the disk.
bool DropCaches()
{
    ::sync();
    QFile control(QStringLiteral("/proc/sys/vm/drop_caches"));
    return control.open(QIODevice::WriteOnly) && control.write("2\n") == 2;
}

// The count of existing names that the confirmation shows, over the names of the largest
// run, in a folder that holds none of them and in one that holds all of them; beside it,
// the same answered by one stat call per name.
void BenchmarkExistingNames(const Options& options)
{
    if (options.countSize < 1 || options.counts < 1)
        return;
    const kovaldi::FolderSeries series = SeriesOf(options.countSize);
    QTemporaryDir folder(options.folder + QStringLiteral("/kovaldi-bench-XXXXXX"));
    const QString base = kovaldi::BuildBaseFolder(folder.path(), kovaldi::kPathSeparator);
    kovaldi::LocalFileSystem fileSystem;
    std::printf("\nexisting names among %lld (budget 1 s; seconds, median of %d)\n", series.count,
                options.counts);

    const auto count = [&](const char* what, bool cold) {
        std::vector<double> seconds;
        kovaldi::RunFigures figures;
        for (int i = 0; i < options.counts; ++i) {
            if (cold && !DropCaches()) {
                std::printf("  %-42s not measured (needs root)\n", what);
                return;
            }
            QElapsedTimer clock;
            clock.start();
            figures = kovaldi::CountRunFigures(fileSystem, base, series, QDeadlineTimer(1000));
            seconds.push_back(clock.nsecsElapsed() / 1e9);
        }
        std::printf("  %-42s %.3f  (min %.3f; %lld of %lld looked up, %lld exist)\n", what,
                    Median(seconds), *std::min_element(seconds.begin(), seconds.end()),
                    figures.checked, figures.count, figures.Existing());
    };
    const auto statEach = [&](const char* what) {
        std::vector<double> seconds;
        qint64 existing = 0;
        for (int i = 0; i < options.counts; ++i) {
            existing = 0;
            QElapsedTimer clock;
            clock.start();
            for (qint64 index = 0; index < series.count; ++index)
                existing +=
                    fileSystem.KindOf(base + series.NameAt(index)) != kovaldi::EntryKind::Nothing;
            seconds.push_back(clock.nsecsElapsed() / 1e9);
        }
        std::printf("  %-42s %.3f  (%lld exist)\n", what, Median(seconds), existing);
    };

    count("all new: listing", false);
    statEach("all new: one stat per name");
    BareRun(folder.path(), options.countSize);
    count("all existing: listing", false);
    statEach("all existing: one stat per name");
    count("all existing: listing, caches dropped first", true);
    std::fflush(stdout);
}

struct StartupFigures
{
    double milliseconds = 0;
    double cpuMilliseconds = 0;
    long peakKb = 0;
};

StartupFigures StartOnce(const QString& program, const QStringList& arguments)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    StartupFigures figures;
    QByteArray output;
    while (child.waitForReadyRead(20000)) {
        output += child.readAllStandardOutput();
        if (figures.milliseconds == 0 && output.contains("painted "))
            figures.milliseconds = clock.nsecsElapsed() / 1e6;
        if (output.contains("peak-kb"))
            break;
    }
    child.waitForFinished(20000);
    output += child.readAllStandardOutput();
    const auto field = [&output](const char* name) {
        const int at = output.indexOf(name);
        return at < 0 ? QByteArray()
                      : output.mid(at + int(qstrlen(name))).trimmed().split('\n').value(0);
    };
    figures.cpuMilliseconds = field("painted ").toDouble();
    figures.peakKb = field("peak-kb ").toLong();
    return figures;
}

void PrintComparison(const char* what, const char* yardstick, const std::vector<double>& kovaldi,
                     const std::vector<double>& minimal)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < kovaldi.size() && i < minimal.size(); ++i)
        ratios.push_back(kovaldi[i] / minimal[i]);
    std::printf("  %s: kovaldi %.1f  %s %.1f  ratio of medians %.2f\n"
                "    ratio per start pair: %s\n",
                what, Median(kovaldi), yardstick, Median(minimal),
                Median(kovaldi) / Median(minimal), Spread(ratios, 2).c_str());
}

void BenchmarkStartup(const Options& options)
{
    if (options.startups < 1)
        return;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString minimal = folder + QStringLiteral("/kovaldi-bench-minimal");
    const struct
    {
        QString program;
        QStringList arguments;
        const char* name;
    } programs[] = {
        {folder + QStringLiteral("/kovaldi-bench-startup"), {}, "kovaldi"},
        {minimal, {}, "minimal Qt window"},
        {minimal, {QStringLiteral("--japanese")}, "minimal Qt window in Japanese"},
    };
    const int count = int(std::size(programs));
    // The programs start in turn, each round in another order, so that a change in the
    // machine's load falls on all of them alike.
    std::vector<double> wall[count], cpu[count], peak[count];
    for (int round = 0; round < options.startups; ++round)
        for (int turn = 0; turn < count; ++turn) {
            const int which = (turn + round) % count;
            const StartupFigures figures =
                StartOnce(programs[which].program, programs[which].arguments);
            wall[which].push_back(figures.milliseconds);
            cpu[which].push_back(figures.cpuMilliseconds);
            peak[which].push_back(double(figures.peakKb) / 1024);
        }
    std::printf("\nstart-up to the end of the first paint, %d starts each\n", options.startups);
    for (int yardstick = 1; yardstick < count; ++yardstick) {
        std::printf("against the %s:\n", programs[yardstick].name);
        PrintComparison("elapsed, median (ms)", programs[yardstick].name, wall[0], wall[yardstick]);
        PrintComparison("processor time, median (ms)", programs[yardstick].name, cpu[0],
                        cpu[yardstick]);
        PrintComparison("peak resident memory, median (MiB)", programs[yardstick].name, peak[0],
                        peak[yardstick]);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // A store and a journal of its own, so the benchmark neither reads nor overwrites the
    // user's inputs or last run.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));

    QApplication application(argc, argv);
    QApplication::setFont(kovaldi::JapaneseGothicFont(9));
    const Options options = ParseOptions(QApplication::arguments());
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    // A file where the journal's folder would go leaves the run without a journal.
    QFile blocker(configHome.filePath(QStringLiteral("state")));
    if (!options.journal)
        blocker.open(QIODevice::WriteOnly);
    qputenv("XDG_STATE_HOME", QFile::encodeName(blocker.fileName()));
    std::printf("journal: %s\n", options.journal ? "on" : "off");

    BenchmarkStartup(options);
    BenchmarkExistingNames(options);
    BenchmarkRuns(options);
    return 0;
}
