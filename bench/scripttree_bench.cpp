// Speed of the tree side of scripts.
//
//   LoadIntoTree/<actions>: LoadScriptWithTree of a script whose "Default" and
//     every action set every key, into an empty options tree (read, records,
//     every branch built and added to the tree).
//   WriteTree/<actions>: WriteScript of that tree to a file (the walk, the
//     encoding and the atomic save).
//   ChangeCheck/<actions>: whether that tree differs from the loaded records
//     (the writer's bytes read back in memory and the records compared).
//   SaveOneValue/<actions>: WriteScript of a generated script (15 to 40 keys
//     an action, comments, "@=" lines) after one value of the middle action
//     was changed: every other section copied as read, that one merged.
// Counters: microseconds per action, and the resident memory the loaded tree
// and document take. A summary table follows.

#include "app/ChangeDetector.h"
#include "bench/ScriptGenerator.h"
#include "framework/HugePages.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <map>
#include <vector>

namespace {

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString EveryKeyScript(int actions)
{
    static std::map<int, QString> paths;
    auto found = paths.find(actions);
    if (found != paths.end())
        return found->second;
    const QString text = CScriptGenerator::GenerateEveryKey(actions);
    const QString path = Folder().filePath(QStringLiteral("every%1.mbs").arg(actions));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toLatin1()) < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    paths.emplace(actions, path);
    return path;
}

long ResidentKilobytes()
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            value = std::atol(line + 6);
    std::fclose(status);
    return value;
}

// Seconds per iteration of one benchmark at one size: each repetition's, and
// the median the library computed (all there is when only aggregates are reported).
struct Times
{
    std::vector<double> repetitions;
    double reportedMedian = 0;

    double Median() const
    {
        if (repetitions.empty())
            return reportedMedian;
        std::vector<double> sorted = repetitions;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
};

struct Figures
{
    Times load;
    Times write;
    Times check;
    Times saveOne;
    double megabytes = 0;
};
std::map<int, Figures> g_figures;

void LoadIntoTree(benchmark::State &state)
{
    const int actions = int(state.range(0));
    const QString path = EveryKeyScript(actions);
    double megabytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<CSynchArray>();
        auto tree = std::make_unique<CTreeOptionsCtrl>();
        const long before = ResidentKilobytes();
        state.ResumeTiming();
        benchmark::DoNotOptimize(LoadScriptWithTree(*document, path, *tree));
        state.PauseTiming();
        megabytes = std::max(megabytes, double(ResidentKilobytes() - before) / 1024);
        tree.reset();
        document.reset();
        state.ResumeTiming();
    }
    g_figures[actions].megabytes = std::max(g_figures[actions].megabytes, megabytes);
    state.counters["tree_MB"] = g_figures[actions].megabytes;
}

void WriteTree(benchmark::State &state)
{
    const int actions = int(state.range(0));
    CSynchArray document;
    CTreeOptionsCtrl tree;
    LoadScriptWithTree(document, EveryKeyScript(actions), tree);
    const QString out = Folder().filePath(QStringLiteral("written%1.mbs").arg(actions));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteScript(document, out, tree));
}

void ChangeCheck(benchmark::State &state)
{
    const int actions = int(state.range(0));
    CSynchArray document;
    CTreeOptionsCtrl tree;
    LoadScriptWithTree(document, EveryKeyScript(actions), tree);
    for (auto _ : state)
        if (CChangeDetector::IsScriptModified(tree, document))
            state.SkipWithError("an unedited tree counts as changed");
}

void SaveOneValue(benchmark::State &state)
{
    const int actions = int(state.range(0));
    const QString path = Folder().filePath(QStringLiteral("generated%1.mbs").arg(actions));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(CScriptGenerator::Encode(CScriptGenerator(7).Generate(actions), ScriptEncoding::Ansi)) < 0)
        state.SkipWithError("cannot write the script");
    file.close();
    CSynchArray document;
    CTreeOptionsCtrl tree;
    LoadScriptWithTree(document, path, tree);
    QTreeWidgetItem *middle = tree.topLevelItem(tree.topLevelItemCount() / 2);
    QTreeWidgetItem *item = middle && middle->childCount() ? middle->child(0) : nullptr;
    if (!item || !CTreeOptionsCtrl::GetItemInfo(item))
        state.SkipWithError("the middle action shows no value first");
    else
        CTreeOptionsCtrl::SetItemValueText(item, QStringLiteral("E:\\Changed"));
    const QString out = Folder().filePath(QStringLiteral("one%1.mbs").arg(actions));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteScript(document, out, tree));
}

BENCHMARK(LoadIntoTree)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->ArgName("actions")
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(WriteTree)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->ArgName("actions")
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ChangeCheck)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->ArgName("actions")
    ->MinTime(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(SaveOneValue)->Arg(10000)->ArgName("actions")->MinTime(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the times of every run for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const bool repetition = run.run_type == Run::RT_Iteration;
            if (run.iterations == 0 || (!repetition && run.aggregate_name != "median"))
                continue;
            const std::string name = run.benchmark_name();
            const int actions = std::atoi(name.c_str() + name.find(':') + 1);
            Figures &figures = g_figures[actions];
            Times &times = name.rfind("LoadIntoTree", 0) == 0   ? figures.load
                           : name.rfind("WriteTree", 0) == 0    ? figures.write
                           : name.rfind("SaveOneValue", 0) == 0 ? figures.saveOne
                                                                : figures.check;
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (repetition)
                times.repetitions.push_back(seconds);
            else
                times.reportedMedian = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void PrintSummary()
{
    std::printf("\n| Actions | Load into tree | per action | Write | per action | Change check | per action "
                "| Tree and document |\n|---|---|---|---|---|---|---|---|\n");
    for (const auto &[actions, f] : g_figures) {
        if (f.load.Median() == 0)
            continue;
        const double load = f.load.Median();
        const double write = f.write.Median();
        const double check = f.check.Median();
        std::printf("| %d | %.0f ms | %.1f us | %.0f ms | %.1f us | %.0f ms | %.1f us | %.0f MB |\n", actions,
                    load * 1e3, load * 1e6 / actions, write * 1e3, write * 1e6 / actions, check * 1e3,
                    check * 1e6 / actions, f.megabytes);
    }
    for (const auto &[actions, f] : g_figures)
        if (f.saveOne.Median() > 0)
            std::printf("\nOne value of a generated script of %d actions saved: %.0f ms\n", actions,
                        f.saveOne.Median() * 1e3);
}

} // namespace

int main(int argc, char **argv)
{
    // The heap as the editor has it (MARROWPAD_SMALL_PAGES=1: without huge pages).
    AskForHugePages(argv, HugePagesFor::Always);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Freed memory stays in the process, so that repetitions measure the work
    // and not the kernel handing out fresh pages (about 11 us a page on the
    // VM the figures come from); the first run of each size sees fresh pages,
    // and the memory column is what that run added. MARROWPAD_BENCH_FRESH_MEMORY=1
    // keeps the allocator's defaults.
    if (qEnvironmentVariableIntValue("MARROWPAD_BENCH_FRESH_MEMORY") == 0) {
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
