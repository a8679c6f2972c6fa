// Times kovaldi-cli's run against a bare loop of mkdir calls over the same names, and the
// program's start-up.
//
//   build/release/bench/kovaldi-bench-cli
//   options: --sizes 20000,110000  --pairs 6  --settle 3 (seconds before each half)
//            --dir <folder for the runs>  --starts 20 (process starts timed, 0 for none)
//            --undo 1 (time the undo instead of the run)
//
// The run is the whole make command as the program carries it out once its process is up,
// in this process: its arguments read, the target checked, the journal written, every
// folder made, the report (-q: none). Each pair makes one such run and one bare loop, in
// alternating order, each in a fresh folder that is removed afterwards; the ratio is
// command-line run / bare. The start-up of the process itself (Qt Core, translations) is
// timed apart, as a median of `kovaldi-cli --version`.
//
// With --undo 1, each pair times instead `kovaldi-cli -q undo` of such a run (the journal
// checked, locked and read, the target walked to and checked, every folder removed, the
// undo recorded) against a bare loop of rmdir calls over the same names; the folders of
// either half are made, untimed, before its clock starts.
#include "benchseries.h"
#include "command.h"
#include "naming/naming.h"
#include "naming/folderseries.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <sys/resource.h>
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
    int starts = 20;
    bool undo = false;
    QString folder = QDir::tempPath();
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
        } else if (name == QLatin1String("--starts")) {
            options.starts = value.toInt();
        } else if (name == QLatin1String("--undo")) {
            options.undo = value.toInt() != 0;
        } else if (name == QLatin1String("--dir")) {
            options.folder = value;
        }
    }
    return options;
}

// Elapsed and processor (user + system) seconds of one half.
struct Times
{
    double elapsed = 0;
    double processor = 0;
};

double ProcessorSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Times the work between the clock's start and Stop.
class Clock
{
public:
    Clock() : m_processor(ProcessorSeconds()) { m_elapsed.start(); }
    Times Stop() const
    {
        return {m_elapsed.nsecsElapsed() / 1e9, ProcessorSeconds() - m_processor};
    }

private:
    QElapsedTimer m_elapsed;
    double m_processor;
};

Times CommandLineRun(const QString& folder, int size)
{
    const auto [min, max] = RangeOf(size);
    const QStringList arguments{QStringLiteral("-q"),
                                QStringLiteral("--header"),
                                kHeader,
                                QStringLiteral("--min"),
                                QString::number(min),
                                QStringLiteral("--max"),
                                QString::number(max),
                                QStringLiteral("--digits"),
                                QString::number(kDigits),
                                folder};
    const Clock clock;
    const int status = kovaldi::cli::RunCommandLine(arguments);
    const Times seconds = clock.Stop();
    if (status != 0)
        std::fprintf(stderr, "command-line run: exit status %d\n", status);
    return seconds;
}

Times BareRun(const QString& folder, int size)
{
    const std::vector<std::string> paths = BarePaths(folder, size);
    int failures = 0;
    const Clock clock;
    for (const std::string& path : paths)
        failures += ::mkdir(path.c_str(), 0777) != 0;
    const Times seconds = clock.Stop();
    if (failures)
        std::fprintf(stderr, "bare loop: %d failures\n", failures);
    return seconds;
}

// The folders are made and written out first, so the clock sees only the removals.
Times CommandLineUndo(const QString& folder, int size, int settleSeconds)
{
    CommandLineRun(folder, size);
    ::sync();
    ::sleep(unsigned(std::max(0, settleSeconds)));
    const Clock clock;
    const int status = kovaldi::cli::RunCommandLine({QStringLiteral("-q"), QStringLiteral("undo")});
    const Times seconds = clock.Stop();
    if (status != 0)
        std::fprintf(stderr, "command-line undo: exit status %d\n", status);
    return seconds;
}

Times BareUndo(const QString& folder, int size, int settleSeconds)
{
    BareRun(folder, size);
    ::sync();
    ::sleep(unsigned(std::max(0, settleSeconds)));
    const std::vector<std::string> paths = BarePaths(folder, size);
    int failures = 0;
    const Clock clock;
    for (auto path = paths.rbegin(); path != paths.rend(); ++path)
        failures += ::rmdir(path->c_str()) != 0;
    const Times seconds = clock.Stop();
    if (failures)
        std::fprintf(stderr, "bare loop: %d failures\n", failures);
    return seconds;
}

// "median M (min A, max B)  geometric mean G" of ratios.
void PrintRatios(const char* what, const std::vector<double>& ratios)
{
    // The pairs alternate which half goes first; with an even number of pairs the
    // geometric mean weighs both orders alike.
    double logSum = 0;
    for (const double ratio : ratios)
        logSum += std::log(ratio);
    const auto [least, most] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("  %s ratio median %.3f (min %.3f, max %.3f)  geometric mean %.3f\n", what,
                Median(ratios), *least, *most, std::exp(logSum / double(ratios.size())));
}

void BenchmarkRuns(const Options& options)
{
    for (const int size : options.sizes) {
        if (size < 1 || options.pairs < 1)
            continue;
        std::printf(options.undo
                        ? "\nundo of %d folders (command-line undo vs bare rmdir loop, seconds "
                          "elapsed, and processor seconds)\n"
                        : "\nrun of %d folders (command-line run vs bare mkdir loop, seconds "
                          "elapsed, and processor seconds)\n",
                    size);
        std::vector<double> ratios, processorRatios;
        for (int pair = 0; pair < options.pairs; ++pair) {
            Times run, bare;
            for (int half = 0; half < 2; ++half) {
                // Each half starts with the disk's queue empty and settled, so neither pays
                // for the write-back of the other's folders.
                ::sync();
                ::sleep(unsigned(std::max(0, options.settleSeconds)));
                QTemporaryDir folder(options.folder + QStringLiteral("/kovaldi-bench-XXXXXX"));
                if ((half == 0) == (pair % 2 == 0))
                    run = options.undo ? CommandLineUndo(folder.path(), size, options.settleSeconds)
                                       : CommandLineRun(folder.path(), size);
                else
                    bare = options.undo ? BareUndo(folder.path(), size, options.settleSeconds)
                                        : BareRun(folder.path(), size);
            }
            ratios.push_back(run.elapsed / bare.elapsed);
            processorRatios.push_back(run.processor / bare.processor);
            std::printf("  pair %d: kovaldi-cli %.4f  bare %.4f  ratio %.3f   processor %.4f / "
                        "%.4f  ratio %.3f\n",
                        pair + 1, run.elapsed, bare.elapsed, ratios.back(), run.processor,
                        bare.processor, processorRatios.back());
            std::fflush(stdout);
        }
        PrintRatios("elapsed", ratios);
        PrintRatios("processor", processorRatios);
    }
}

void BenchmarkStart(const Options& options)
{
    if (options.starts < 1)
        return;
    std::vector<double> milliseconds;
    for (int i = 0; i < options.starts; ++i) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral(KOVALDI_CLI), {QStringLiteral("--version")});
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            std::fprintf(stderr, "kovaldi-cli --version did not end\n");
            return;
        }
        milliseconds.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("process start to end of kovaldi-cli --version: median %.1f ms of %d\n",
                Median(milliseconds), options.starts);
}

} // namespace

int main(int argc, char* argv[])
{
    // A journal of its own, so the benchmark does not overwrite the user's last run.
    QTemporaryDir stateHome;
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovaldi-cli"));
    const Options options = ParseOptions(QCoreApplication::arguments());
    std::printf("runs in %s\n", qPrintable(options.folder));
    BenchmarkStart(options);
    BenchmarkRuns(options);
    return 0;
}
