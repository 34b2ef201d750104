// `mbscript check` against `mbscript dump` on the same generated script of
// 10,000 actions: each command run as its own process, timed by the CPU time
// (user and system) the process used, in the same run so that the ratio holds
// on a busy machine.

#include "bench/ScriptGenerator.h"
#include "script/SynchArray.h"
#include "script/check/ScriptChecker.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>

namespace {

std::map<std::string, double> g_seconds;

const QString &Script()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        CScriptGenerator generator(10);
        // MARROWPAD_BENCH_SCRIPT keeps the script at that path, for a profiler.
        const QString kept = qEnvironmentVariable("MARROWPAD_BENCH_SCRIPT");
        const QString file = kept.isEmpty() ? dir.filePath(QStringLiteral("check10000.mbs")) : kept;
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(CScriptGenerator::Encode(generator.Generate(10000), ScriptEncoding::Ansi));
        return file;
    }();
    return path;
}

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RunCommand(benchmark::State &state, const char *command)
{
    const QString path = Script();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_GB.UTF-8"));
    double total = 0;
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        const double before = ChildrenCpuSeconds();
        process.start(QStringLiteral(MBSCRIPT_PATH), {QString::fromLatin1(command), path});
        process.waitForFinished(-1);
        const double seconds = ChildrenCpuSeconds() - before;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    g_seconds[command] = total / double(state.iterations());
}

void Dump(benchmark::State &state) { RunCommand(state, "dump"); }
void Check(benchmark::State &state) { RunCommand(state, "check"); }

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

int main(int argc, char **argv)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (g_seconds.count("dump") && g_seconds.count("check"))
        std::printf("mbscript check of 10,000 actions: %.2f times the CPU time of mbscript dump (target: at most 2)\n",
                    g_seconds["check"] / g_seconds["dump"]);
    return 0;
}
