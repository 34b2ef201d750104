// `mbscript check` against `mbscript dump` on the same scripts: 10,000 actions
// with every setting, by the CPU time (user and system) each process used, and
// 28 MB of repeated bad lines, by each process's peak memory; each command
// runs as its own process, in the same run so that the ratios hold on a busy
// machine.

#include "bench/ScriptGenerator.h"
#include "script/SynchArray.h"
#include "script/check/ScriptChecker.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

std::map<std::string, double> g_seconds;
std::map<std::string, double> g_megabytes;

QString Keep(const QString &name, const QByteArray &bytes)
{
    static QTemporaryDir dir;
    const QString file = dir.filePath(name);
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return file;
}

// 10,000 actions with every setting. MARROWPAD_BENCH_SCRIPT keeps it at that path, for a profiler.
const QString &FullScript()
{
    static const QString path = [] {
        const QByteArray bytes =
            CScriptGenerator::Encode(CScriptGenerator::GenerateEveryKey(10000), ScriptEncoding::Ansi);
        const QString kept = qEnvironmentVariable("MARROWPAD_BENCH_SCRIPT");
        if (kept.isEmpty())
            return Keep(QStringLiteral("check10000.mbs"), bytes);
        QFile out(kept);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return kept;
    }();
    return path;
}

// One action, then 28 MB of "Path1=" lines: each one a duplicate key.
const QString &BadLines()
{
    static const QString path = [] {
        QByteArray bytes = "[Action1]\r\nPath1=C:\\In\r\nPath2=D:\\Out\r\n";
        bytes += QByteArray("Path1=\r\n").repeated(28 * 1000 * 1000 / 8);
        return Keep(QStringLiteral("badlines.mbs"), bytes);
    }();
    return path;
}

// Runs mbscript COMMAND PATH with its output thrown away; its CPU seconds and peak memory in MB.
std::pair<double, double> RunOnce(const char *command, const QString &path)
{
    const QByteArray program = QByteArrayLiteral(MBSCRIPT_PATH);
    const QByteArray file = QFile::encodeName(path);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        setenv("LC_ALL", "en_GB.UTF-8", 1);
        execl(program.constData(), program.constData(), command, file.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), double(usage.ru_maxrss) / 1024.0};
}

void RunCommand(benchmark::State &state, const char *command, const QString &path, const std::string &name)
{
    double total = 0;
    double peak = 0;
    for (auto _ : state) {
        const auto [seconds, megabytes] = RunOnce(command, path);
        state.SetIterationTime(seconds);
        total += seconds;
        peak = std::max(peak, megabytes);
    }
    state.counters["peak_MB"] = peak;
    g_seconds[name] = total / double(state.iterations());
    g_megabytes[name] = peak;
}

void Dump(benchmark::State &state)
{
    RunCommand(state, "dump", FullScript(), "dump");
}
void Check(benchmark::State &state)
{
    RunCommand(state, "check", FullScript(), "check");
}
void DumpBadLines(benchmark::State &state)
{
    RunCommand(state, "dump", BadLines(), "dump bad");
}
void CheckBadLines(benchmark::State &state)
{
    RunCommand(state, "check", BadLines(), "check bad");
}

// What the editor runs on its worker after a pause: the tree's text loaded
// and checked (the text comes from the generator here, from the writer there).
void CheckText(benchmark::State &state)
{
    CScriptGenerator generator(11);
    const QString text = generator.Generate(int(state.range(0)));
    for (auto _ : state) {
        CSynchArray document;
        std::vector<CheckProblem> problems;
        CScriptChecker::CheckText(QStringLiteral("bench.mbs"), text, document, problems);
        benchmark::DoNotOptimize(problems.data());
    }
}

} // namespace

BENCHMARK(CheckText)->Arg(100)->Arg(10000)->ArgName("actions")->Unit(benchmark::kMillisecond);
BENCHMARK(Dump)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Check)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(DumpBadLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CheckBadLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (g_seconds.count("dump") && g_seconds.count("check"))
        std::printf(
            "mbscript check of 10,000 full actions: %.2f times the CPU time of mbscript dump (target: at most 2)\n",
            g_seconds["check"] / g_seconds["dump"]);
    if (g_megabytes.count("dump bad") && g_megabytes.count("check bad"))
        std::printf("mbscript check of 28 MB of bad lines: %.0f MB, %.2f times the peak memory of mbscript dump "
                    "(%.0f MB; target: at most 3), %.2f s against %.2f s of CPU\n",
                    g_megabytes["check bad"], g_megabytes["check bad"] / g_megabytes["dump bad"],
                    g_megabytes["dump bad"], g_seconds["check bad"], g_seconds["dump bad"]);
    return 0;
}
