// Reading and loading speed of the script model.
//
//   ReadScript/<MB>/<encoding>/<fresh>: CScriptFile::Read of a generated
//     script of about 1, 10 or 100 MB (encoding 0 ANSI, 1 UTF-16LE), and in
//     the same run on the same file the limit: reading the file into a new
//     buffer and counting its lines with memchr. Warm: both run again and
//     again in this process, on memory it already has. Fresh: each read is
//     the first large one of a new process (this program started again for
//     it), which pays for every page it touches, as the editor and mbscript
//     do. Counters: model and limit MB/s, their ratio, and the model's peak
//     memory per MB of script.
//   LoadScript/<actions>: CSynchArray::LoadScript without a tree.
// A summary of the two targets follows the table. The peak memory is
// measured once per file, after returning all free memory to the system.

#include "bench/ScriptGenerator.h"
#include "framework/HugePages.h"
#include "script/ScriptFile.h"
#include "script/SynchArray.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The time this thread has run, in user and system mode: what other programs
// on a busy machine do to the wall clock does not count, page faults do.
struct Clock
{
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<Clock>;
    static constexpr bool is_steady = true;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(rep(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The generated script of a kind, written once per run.
QString ScriptFor(const QString &name, const std::function<QByteArray()> &make)
{
    static std::map<QString, QString> paths;
    auto found = paths.find(name);
    if (found != paths.end())
        return found->second;
    const QString path = Folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(make()) < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    paths.emplace(name, path);
    return path;
}

QString SizedScript(int megabytes, ScriptEncoding encoding)
{
    return ScriptFor(QStringLiteral("size%1-%2.mbs").arg(megabytes).arg(int(encoding)), [&] {
        CScriptGenerator generator(20240601u + quint32(megabytes));
        // UTF-16 takes two bytes a character: the same script, twice the bytes.
        return CScriptGenerator::Encode(generator.GenerateAbout(qint64(megabytes) << 20), encoding);
    });
}

QString ActionScript(int actions)
{
    return ScriptFor(QStringLiteral("actions%1.mbs").arg(actions), [&] {
        CScriptGenerator generator(7u);
        return CScriptGenerator::Encode(generator.Generate(actions), ScriptEncoding::Ansi);
    });
}

// The limit: the file into a fresh buffer, its lines counted with memchr.
size_t ReadAndCountLines(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return 0;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    std::unique_ptr<char[]> buffer(new char[size_t(size)]);
    size_t got = 0;
    while (got < size_t(size)) {
        const ssize_t n = ::read(fd, buffer.get() + got, size_t(size) - got);
        if (n <= 0)
            break;
        got += size_t(n);
    }
    ::close(fd);
    size_t lines = 0;
    const char *p = buffer.get();
    const char *end = p + got;
    while ((p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    return lines;
}

// What this thread's clock says now, in seconds.
double ThreadSeconds()
{
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + ptrdiff_t(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Set in a process started to time one fresh read: "model" or "limit".
constexpr const char *kFreshRead = "MARROWPAD_BENCH_FRESH_READ";

// The started process: what every process does before its first large read
// (the toolkit and the code page set up by a small read), then the one read
// timed, its seconds printed.
int FreshReadChild(const char *what, const char *path)
{
    {
        CScriptFile small;
        small.ReadBytes(QByteArrayLiteral("[S]\r\nK=\xe9\r\n"), QString());
    }
    const double start = ThreadSeconds();
    if (std::strcmp(what, "model") == 0) {
        CScriptFile file;
        file.Read(QFile::decodeName(path));
        benchmark::DoNotOptimize(file.GetCount());
    } else {
        benchmark::DoNotOptimize(ReadAndCountLines(QByteArray(path)));
    }
    std::printf("%.9f\n", ThreadSeconds() - start);
    return 0;
}

// Starts this program again to time one fresh read; its seconds, or -1.
double FreshRead(const char *what, const QByteArray &path)
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return -1;
    self[length] = 0;
    const QByteArray command = QByteArray(kFreshRead) + '=' + what + " '" + self + "' '" + path + '\'';
    FILE *child = ::popen(command.constData(), "r");
    if (!child)
        return -1;
    double seconds = -1;
    if (std::fscanf(child, "%lf", &seconds) != 1)
        seconds = -1;
    return ::pclose(child) == 0 ? seconds : -1;
}

long StatusKilobytes(const char *field)
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0)
            value = std::atol(line + length);
    std::fclose(status);
    return value;
}

// The peak resident memory a read adds, in bytes; -1 where the system cannot tell.
double PeakReadMemory(const QString &path)
{
    malloc_trim(0);
    FILE *clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear)
        return -1;
    std::fputs("5", clear); // resets the peak to the current size
    std::fclose(clear);
    const long before = StatusKilobytes("VmRSS:");
    {
        CScriptFile file;
        file.Read(path);
        benchmark::DoNotOptimize(file.GetCount());
    }
    const long peak = StatusKilobytes("VmHWM:");
    return before < 0 || peak < 0 ? -1 : double(peak - before) * 1024;
}

struct Figures
{
    double modelSeconds = 0; // per read or load
    double limitSeconds = 0;
};
std::map<std::string, Figures> g_figures;

void ReadScript(benchmark::State &state)
{
    const int megabytes = int(state.range(0));
    const auto encoding = state.range(1) ? ScriptEncoding::Utf16Le : ScriptEncoding::Ansi;
    const bool fresh = state.range(2) != 0;
    const QString path = SizedScript(megabytes, encoding);
    const QByteArray nativePath = QFile::encodeName(path);
    const double bytes = double(QFileInfo(path).size());

    const double peak = PeakReadMemory(path);
    double modelSeconds = 0;
    double limitSeconds = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        if (fresh) {
            // Page faults cost what the machine's other work leaves them, so
            // the medians of eleven pairs taken in turn are counted.
            std::vector<double> models, limits;
            for (int pair = 0; pair < 11; ++pair) {
                models.push_back(FreshRead("model", nativePath));
                limits.push_back(FreshRead("limit", nativePath));
            }
            if (*std::min_element(models.begin(), models.end()) <= 0
                || *std::min_element(limits.begin(), limits.end()) <= 0) {
                state.SkipWithError("a fresh read could not be timed");
                return;
            }
            modelSeconds += Median(models);
            limitSeconds += Median(limits);
            ++runs;
            continue;
        }
        const auto start = Clock::now();
        {
            CScriptFile file;
            file.Read(path);
            benchmark::DoNotOptimize(file.GetCount());
        }
        const auto middle = Clock::now();
        state.PauseTiming();
        const auto limitStart = Clock::now();
        benchmark::DoNotOptimize(ReadAndCountLines(nativePath));
        const auto end = Clock::now();
        state.ResumeTiming();
        modelSeconds += std::chrono::duration<double>(middle - start).count();
        limitSeconds += std::chrono::duration<double>(end - limitStart).count();
        ++runs;
    }
    const double mb = bytes / double(1 << 20);
    state.SetBytesProcessed(std::int64_t(bytes) * runs);
    state.counters["model_MB/s"] = mb * double(runs) / modelSeconds;
    state.counters["limit_MB/s"] = mb * double(runs) / limitSeconds;
    state.counters["ratio"] = limitSeconds / modelSeconds;
    state.counters["peak_MB_per_MB"] = peak < 0 ? -1 : peak / bytes;
    g_figures["read/" + std::to_string(megabytes) + "/" + std::to_string(state.range(1)) + "/"
              + std::to_string(state.range(2))] = {modelSeconds / double(runs), limitSeconds / double(runs)};
}

void LoadScript(benchmark::State &state)
{
    const int actions = int(state.range(0));
    const QString path = ActionScript(actions);
    {
        // One load before timing, so that every size is timed on pages the
        // process already has, like the reads above.
        CSynchArray warmUp;
        warmUp.LoadScript(path);
    }
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        CSynchArray document;
        benchmark::DoNotOptimize(document.LoadScript(path));
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double perLoad = seconds / double(state.iterations());
    state.counters["us_per_action"] = perLoad / double(actions) * 1e6;
    g_figures["load/" + std::to_string(actions)] = {perLoad, 0};
}

void PrintSummary()
{
    for (const char *encoding : {"0", "1"})
        for (const char *fresh : {"0", "1"}) {
            const auto read = g_figures.find(std::string("read/10/") + encoding + "/" + fresh);
            if (read != g_figures.end())
                std::printf("10 MB %s read on %s pages: %.2f of the limit's throughput (target: at least 0.25)\n",
                            *encoding == '1' ? "UTF-16LE" : "ANSI", *fresh == '1' ? "fresh" : "warm",
                            read->second.limitSeconds / read->second.modelSeconds);
        }
    const auto small = g_figures.find("load/10000");
    const auto large = g_figures.find("load/100000");
    if (small != g_figures.end() && large != g_figures.end())
        std::printf("LoadScript 100,000 actions: %.1f times the time of 10,000 (target: at most 12)\n",
                    large->second.modelSeconds / small->second.modelSeconds);
}

} // namespace

BENCHMARK(ReadScript)
    ->ArgsProduct({{1, 10, 100}, {0, 1}, {0, 1}})
    ->ArgNames({"MB", "utf16", "fresh"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LoadScript)->Arg(10000)->Arg(100000)->ArgName("actions")->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    // The heap as the editor and mbscript have it (MARROWPAD_SMALL_PAGES=1: without huge pages).
    AskForHugePages(argv, HugePagesFor::Always);
    if (const char *what = std::getenv(kFreshRead); what && argc == 2)
        return FreshReadChild(what, argv[1]);
    // Freed memory stays in the process, so that every repetition of the
    // model and of the limit measures the work done rather than the kernel
    // handing out fresh pages (which costs about 11 us a page on the 2-core
    // VM the figures come from). MARROWPAD_BENCH_FRESH_MEMORY=1 measures with
    // the allocator's own defaults instead.
    if (qEnvironmentVariableIntValue("MARROWPAD_BENCH_FRESH_MEMORY") == 0) {
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    // Dates in the generated scripts are written in this locale's short format.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    benchmark::Shutdown();
    return 0;
}
