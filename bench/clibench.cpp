// Times kovaldi-cli's run against a bare loop of mkdir calls over the same names, and the
// program's start-up.
//
//   build/release/bench/kovaldi-bench-cli
//   options: --sizes 20000,110000  --pairs 6  --settle 3 (seconds before each half)
//            --dir <folder for the runs>  --starts 20 (process starts timed, 0 for none)
//            --undo 1 (time the undo instead of the run)
//            --shape series|template|list (what the run makes; sizes count every folder)
//            --memory 1 (the peak memory of kovaldi-cli's process for each size instead)
//
// The run is the whole make command as the program carries it out once its process is up,
// in this process: its arguments read, the target checked, the journal written, every
// folder made, the report (-q: none). Each pair makes one such run and one bare loop, in
// alternating order, each in a fresh folder that is removed afterwards; the ratio is
// command-line run / bare. The start-up of the process itself (Qt Core, translations) is
// timed apart, as a median of `kovaldi-cli --version`.
//
// Shapes: "series" is one numbered folder per number; "template" makes a fifth of the
// folders numbered, with the same four sub-folders inside each (01_原稿, 02_画像, 02_画像/元,
// 03_納品); "list" reads a list file (written before the clock starts) of groups of ten
// nested lines, "組0001/項目000001", the group folders implied. The bare loop makes the
// same paths in the same order.
//
// With --undo 1, each pair times instead `kovaldi-cli -q undo` of such a run (the journal
// checked, locked and read, the target walked to and checked, every folder removed, the
// undo recorded) against a bare loop of rmdir calls over the same names; the folders of
// either half are made, untimed, before its clock starts.
#include "benchseries.h"
#include "command.h"
#include "naming/folderseries.h"
#include "naming/naming.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
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
    bool memory = false;
    QString shape = QStringLiteral("series");
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
        } else if (name == QLatin1String("--memory")) {
            options.memory = value.toInt() != 0;
        } else if (name == QLatin1String("--shape")) {
            options.shape = value;
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

// What a run of one shape makes: kovaldi-cli's arguments (without -q and the target) and
// the relative paths of every folder, in the order made.
struct Workload
{
    QStringList arguments;
    QStringList paths;
    QByteArray list; // the list file's text, for the list shape
};

const QStringList kTemplate{QStringLiteral("01_原稿"), QStringLiteral("02_画像/元"),
                            QStringLiteral("03_納品")};
const QStringList kTemplateEntries{QStringLiteral("01_原稿"), QStringLiteral("02_画像"),
                                   QStringLiteral("02_画像/元"), QStringLiteral("03_納品")};
constexpr int kGroupLines = 10;

Workload WorkloadOf(const QString& shape, int size)
{
    Workload work;
    if (shape == QLatin1String("list")) {
        const int groups = std::max(1, size / (kGroupLines + 1));
        for (int g = 1; g <= groups; ++g) {
            const QString group = QStringLiteral("組%1").arg(g, 4, 10, QLatin1Char('0'));
            work.paths << group;
            for (int i = 1; i <= kGroupLines; ++i) {
                const QString line =
                    group + QStringLiteral("/項目%1").arg((g - 1) * kGroupLines + i, 6, 10,
                                                          QLatin1Char('0'));
                work.paths << line;
                work.list += line.toUtf8() + '\n';
            }
        }
        return work;
    }
    const bool tree = shape == QLatin1String("template");
    const int numbered = tree ? std::max(1, size / int(1 + kTemplateEntries.size())) : size;
    const auto [min, max] = RangeOf(numbered);
    work.arguments = QStringList{QStringLiteral("--header"), kHeader,
                                 QStringLiteral("--min"),    QString::number(min),
                                 QStringLiteral("--max"),    QString::number(max),
                                 QStringLiteral("--digits"), QString::number(kDigits)};
    if (tree)
        for (const QString& line : kTemplate)
            work.arguments << QStringLiteral("--subfolder") << line;
    const kovaldi::FolderSeries series = SeriesOf(numbered);
    for (qint64 index = 0; index < series.count; ++index) {
        const QString name = series.NameAt(index);
        work.paths << name;
        if (tree)
            for (const QString& entry : kTemplateEntries)
                work.paths << name + QLatin1Char('/') + entry;
    }
    return work;
}

Times CommandLineRun(const QString& folder, const Workload& work)
{
    QStringList arguments = QStringList{QStringLiteral("-q")} + work.arguments;
    QTemporaryFile list;
    if (!work.list.isEmpty()) {
        if (!list.open() || list.write(work.list) != work.list.size() || !list.flush())
            std::fprintf(stderr, "the list file cannot be written\n");
        arguments << QStringLiteral("--from-list") << list.fileName();
    }
    arguments << folder;
    const Clock clock;
    const int status = kovaldi::cli::RunCommandLine(arguments);
    const Times seconds = clock.Stop();
    if (status != 0)
        std::fprintf(stderr, "command-line run: exit status %d\n", status);
    return seconds;
}

std::vector<std::string> PathsIn(const QString& folder, const Workload& work)
{
    std::vector<std::string> paths;
    paths.reserve(size_t(work.paths.size()));
    for (const QString& path : work.paths)
        paths.push_back(QFile::encodeName(folder + QLatin1Char('/') + path).toStdString());
    return paths;
}

Times BareRun(const QString& folder, const Workload& work)
{
    const std::vector<std::string> paths = PathsIn(folder, work);
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
Times CommandLineUndo(const QString& folder, const Workload& work, int settleSeconds)
{
    CommandLineRun(folder, work);
    ::sync();
    ::sleep(unsigned(std::max(0, settleSeconds)));
    const Clock clock;
    const int status = kovaldi::cli::RunCommandLine({QStringLiteral("-q"), QStringLiteral("undo")});
    const Times seconds = clock.Stop();
    if (status != 0)
        std::fprintf(stderr, "command-line undo: exit status %d\n", status);
    return seconds;
}

Times BareUndo(const QString& folder, const Workload& work, int settleSeconds)
{
    BareRun(folder, work);
    ::sync();
    ::sleep(unsigned(std::max(0, settleSeconds)));
    const std::vector<std::string> paths = PathsIn(folder, work);
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
        const Workload work = WorkloadOf(options.shape, size);
        std::printf(options.undo
                        ? "\nundo of %d folders, %s (command-line undo vs bare rmdir loop, "
                          "seconds elapsed, and processor seconds)\n"
                        : "\nrun of %d folders, %s (command-line run vs bare mkdir loop, seconds "
                          "elapsed, and processor seconds)\n",
                    int(work.paths.size()), qPrintable(options.shape));
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
                    run = options.undo ? CommandLineUndo(folder.path(), work, options.settleSeconds)
                                       : CommandLineRun(folder.path(), work);
                else
                    bare = options.undo ? BareUndo(folder.path(), work, options.settleSeconds)
                                        : BareRun(folder.path(), work);
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

// The peak memory of kovaldi-cli's own process making each size, and the size of the
// journal that keeps the run for an undo.
void BenchmarkMemory(const Options& options, const QString& stateHome)
{
    std::printf("\npeak memory of kovaldi-cli's process, %s\n", qPrintable(options.shape));
    for (const int size : options.sizes) {
        const Workload work = WorkloadOf(options.shape, size);
        QTemporaryDir folder(options.folder + QStringLiteral("/kovaldi-bench-XXXXXX"));
        QTemporaryFile list;
        QStringList arguments = QStringList{QStringLiteral("-q")} + work.arguments;
        if (!work.list.isEmpty()) {
            if (!list.open() || list.write(work.list) != work.list.size() || !list.flush())
                std::fprintf(stderr, "the list file cannot be written\n");
            arguments << QStringLiteral("--from-list") << list.fileName();
        }
        // Through a small process of this program, whose memory is all a child's peak can
        // start from: a child's peak counts the memory of the process it was started from.
        arguments.prepend(QStringLiteral(KOVALDI_CLI));
        arguments.prepend(QStringLiteral("--spawn"));
        arguments << folder.path();
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(), arguments);
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            std::fprintf(stderr, "kovaldi-cli did not end well: %s\n",
                         process.readAllStandardError().constData());
        const double peak = process.readAllStandardOutput().trimmed().toDouble();
        qint64 journal = 0;
        QDirIterator journals(stateHome, {QStringLiteral("*.journal")}, QDir::Files,
                              QDirIterator::Subdirectories);
        while (journals.hasNext())
            journal = std::max(journal, QFileInfo(journals.next()).size());
        std::printf("  %lld folders: peak %.1f MiB, journal %.1f MiB\n", qint64(work.paths.size()),
                    peak / 1024.0, double(journal) / (1024.0 * 1024.0));
        std::fflush(stdout);
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

// --spawn PROGRAM ARGUMENTS...: runs the program and prints its peak memory in KiB, from a
// process that has not yet started Qt.
int Spawn(char* argv[])
{
    pid_t child = 0;
    int status = 0;
    rusage usage{};
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0 ||
        ::wait4(child, &status, 0, &usage) != child)
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int main(int argc, char* argv[])
{
    if (argc > 2 && std::string(argv[1]) == "--spawn")
        return Spawn(argv + 2);
    // A journal of its own, so the benchmark does not overwrite the user's last run.
    QTemporaryDir stateHome;
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovaldi-cli"));
    const Options options = ParseOptions(QCoreApplication::arguments());
    std::printf("runs in %s\n", qPrintable(options.folder));
    if (options.memory) {
        BenchmarkMemory(options, stateHome.path());
        return 0;
    }
    BenchmarkStart(options);
    BenchmarkRuns(options);
    return 0;
}
