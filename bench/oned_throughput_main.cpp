// Throughput of the 1-D analysis beside the plain FFTW loop of the same sizes, in one run:
// the FFT floor (one r2c per series, one c2r per scale row, estimate plans, the machine's
// cores), the transform alone (WaveletTransform1D in this process) and whole runs of the
// batch tool to BMP and PNG with their peak memory (a child process each, read by wait4).
//
//     bench_oned_throughput [PATH_TO_tulvo1d-cli] [--repeat N] [--quick]
//
// Each time is the median of N runs (default 3); the machine is shared, so read the ratios.

#include "bench/timing.h"
#include "engine/analysis_kinds.h"
#include "engine/transformer1d.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fftw3.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct TCase {
    int Series;
    int Samples;
    int Steps;
};

const TCase kCases[] = {{1, 100000, 1000}, {8, 10000, 300}, {2000, 100, 100}};

double SampleValue(int series, int i)
{
    return std::sin(i * (0.01 + 0.003 * series)) + 0.3 * std::sin(i * 0.17) +
           0.05 * std::sin(i * i * 1e-7);
}

// The estimate plans of one length, made on their own buffers as the analysis makes them;
// the transforms run on new arrays.
struct TFloorPlans {
    explicit TFloorPlans(int length)
        : n(length), bins(length / 2 + 1), real(fftw_alloc_real(length)),
          spectrum(fftw_alloc_complex(bins)),
          forward(fftw_plan_dft_r2c_1d(n, real, spectrum, FFTW_ESTIMATE)),
          backward(fftw_plan_dft_c2r_1d(n, spectrum, real, FFTW_ESTIMATE))
    {
    }
    ~TFloorPlans()
    {
        fftw_destroy_plan(backward);
        fftw_destroy_plan(forward);
        fftw_free(spectrum);
        fftw_free(real);
    }
    TFloorPlans(const TFloorPlans&) = delete;
    TFloorPlans& operator=(const TFloorPlans&) = delete;

    // `steps` c2r of `half` on buffers of the calling thread.
    void Rows(const fftw_complex* half, int first, int steps, int stride) const
    {
        double* out = fftw_alloc_real(n);
        fftw_complex* in = fftw_alloc_complex(bins);
        for (int k = first; k < steps; k += stride) {
            std::memcpy(in, half, sizeof(fftw_complex) * bins);
            fftw_execute_dft_c2r(backward, in, out);
        }
        fftw_free(in);
        fftw_free(out);
    }

    int n;
    int bins;
    double* real;
    fftw_complex* spectrum;
    fftw_plan forward;
    fftw_plan backward;
};

// Runs work(core, cores) on a thread per core and waits for all.
void OnEveryCore(const std::function<void(int, int)>& work)
{
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (int t = 0; t < cores; ++t)
        threads.emplace_back(work, t, cores);
    for (std::thread& t : threads)
        t.join();
}

// The plain loop: per series one r2c, then Steps c2r into a reused buffer, the series split
// between the cores.
double FftFloor(const TCase& c)
{
    const TFloorPlans plans(c.Samples);
    return Seconds([&] {
        OnEveryCore([&](int core, int cores) {
            double* samples = fftw_alloc_real(plans.n);
            fftw_complex* half = fftw_alloc_complex(plans.bins);
            for (int s = core; s < c.Series; s += cores) {
                for (int j = 0; j < plans.n; ++j)
                    samples[j] = SampleValue(s, j);
                fftw_execute_dft_r2c(plans.forward, samples, half);
                plans.Rows(half, 0, c.Steps, 1);
            }
            fftw_free(half);
            fftw_free(samples);
        });
    });
}

// For one series the c2r rows are split between the cores instead.
double FftFloorOneSeries(const TCase& c)
{
    const TFloorPlans plans(c.Samples);
    return Seconds([&] {
        for (int j = 0; j < plans.n; ++j)
            plans.real[j] = SampleValue(0, j);
        fftw_execute_dft_r2c(plans.forward, plans.real, plans.spectrum);
        OnEveryCore([&](int core, int cores) { plans.Rows(plans.spectrum, core, c.Steps, cores); });
    });
}

double TransformAlone(const TCase& c, int wavelet)
{
    const std::unique_ptr<TWave1D> wave =
        wavelet == wkMorlet ? std::unique_ptr<TWave1D>(std::make_unique<TMorlet1D>(6, 1))
                            : std::unique_ptr<TWave1D>(std::make_unique<TSDog1D>(1.25));
    std::vector<std::vector<double>> series(static_cast<std::size_t>(c.Series));
    for (int s = 0; s < c.Series; ++s)
        for (int j = 0; j < c.Samples; ++j)
            series[s].push_back(0.5 + 0.5 * SampleValue(s, j) / 1.4);
    // The matrix is allocated once, as a run allocates it: a first run touches its pages.
    const T1WaveTransformer transformer(c.Samples);
    std::vector<double> coefs;
    WaveletTransform1D(transformer, c.Steps, *wave, 100, 1, series[0], true, ssLogarithmic,
                       false, coefs);
    return Seconds([&] {
        for (const std::vector<double>& values : series)
            WaveletTransform1D(transformer, c.Steps, *wave, 100, 1, values, true,
                               ssLogarithmic, false, coefs);
    });
}

std::string WriteTable(const TCase& c, const std::filesystem::path& folder)
{
    const std::string path = (folder / ("table_" + std::to_string(c.Series) + "x" +
                                        std::to_string(c.Samples) + ".txt"))
                                 .string();
    std::ofstream out(path);
    out << "N";
    for (int s = 0; s < c.Series; ++s)
        out << "\tS" << s;
    out << "\n";
    char cell[32];
    for (int i = 0; i < c.Samples; ++i) {
        out << i + 1;
        for (int s = 0; s < c.Series; ++s) {
            std::snprintf(cell, sizeof cell, "\t%.6f", SampleValue(s, i));
            out << cell;
        }
        out << "\n";
    }
    return path;
}

struct TChildRun {
    double Seconds = 0;
    double PeakMiB = 0;
    bool Ok = false;
};

// Runs the batch tool; its stderr goes to `errors`, shown when the run fails.
TChildRun RunChild(const std::vector<std::string>& args, const std::string& errors)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    TChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int log = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(log, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.PeakMiB = usage.ru_maxrss / 1024.0;
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.Ok) {
        std::ifstream log(errors);
        std::string line, last;
        while (std::getline(log, line))
            last = line;
        std::fprintf(stderr, "%s failed: %s\n", args[0].c_str(), last.c_str());
    }
    return run;
}

TChildRun WholeRun(const std::string& cli, const std::string& table, const TCase& c,
                   const char* wavelet, const std::string& output, int repeat)
{
    std::vector<double> times, peaks;
    TChildRun last;
    for (int r = 0; r < repeat; ++r) {
        last = RunChild({cli, "1d", table, "-o", output, "--steps", std::to_string(c.Steps),
                         "--wavelet", wavelet, "--locale", "en_US"},
                        output + ".stderr");
        if (!last.Ok)
            return last;
        times.push_back(last.Seconds);
        peaks.push_back(last.PeakMiB);
    }
    last.Seconds = Median(times);
    last.PeakMiB = *std::max_element(peaks.begin(), peaks.end());
    return last;
}

std::string DefaultCli(const char* self)
{
    std::error_code ignored;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ignored);
    const std::filesystem::path base = exe.empty() ? std::filesystem::path(self) : exe;
    return (base.parent_path().parent_path() / "bin" / "tulvo1d-cli").string();
}

} // namespace

int main(int argc, char** argv)
{
    std::string cli = DefaultCli(argv[0]);
    int repeat = 3;
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--quick") == 0)
            quick = true;
        else
            cli = argv[i];
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tulvo-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    const std::string tiny = WriteTable({1, 10, 30}, folder);
    const TChildRun empty =
        RunChild({cli, "1d", tiny, "-o", (folder / "tiny.bmp").string(), "--steps", "30"},
                 (folder / "tiny.stderr").string());
    std::printf("The batch tool's own peak (a 10-sample run): %.0f MiB. Budget: matrix + "
                "picture + 5 %%. Transform: the matrix already allocated.\n",
                empty.PeakMiB);
    std::printf("%-18s %-7s %8s %17s %17s %17s %10s %10s\n", "case", "wavelet", "floor s",
                "transform s (x)", "BMP run s (x)", "PNG run s (x)", "peak MiB", "budget");
    for (const TCase& c : kCases) {
        const std::string table = WriteTable(c, folder);
        const double floor = MedianOf(repeat, [&] {
            return c.Series == 1 ? FftFloorOneSeries(c) : FftFloor(c);
        });
        // The budget: the matrix of one series plus the composed picture, plus 5 %.
        const double matrixMiB = 8.0 * c.Steps * c.Samples / (1024.0 * 1024.0);
        const double pictureMiB =
            (c.Samples + 30.0) * (c.Series * (c.Steps + 1.0) + 14 + 5) / (1024.0 * 1024.0);
        for (int wavelet : {wkGaussian, wkMorlet}) {
            const char* name = wavelet == wkMorlet ? "morlet" : "gauss";
            const double transform =
                MedianOf(repeat, [&] { return TransformAlone(c, wavelet); });
            const TChildRun bmp =
                WholeRun(cli, table, c, name, (folder / "out.bmp").string(), repeat);
            const TChildRun png = quick ? TChildRun{}
                                        : WholeRun(cli, table, c, name,
                                                   (folder / "out.png").string(), repeat);
            char label[32];
            std::snprintf(label, sizeof label, "%d x %d x %d", c.Series, c.Samples, c.Steps);
            std::printf("%-18s %-7s %8.3f %8.3f (%5.2fx) %8.3f (%5.2fx) %8.3f (%5.2fx) %10.0f "
                        "%10.0f%s\n",
                        label, name, floor, transform, transform / floor, bmp.Seconds,
                        bmp.Seconds / floor, png.Seconds, png.Seconds / floor,
                        std::max(bmp.PeakMiB, png.PeakMiB), (matrixMiB + pictureMiB) * 1.05,
                        bmp.Ok && (quick || png.Ok) ? "" : "  (a run failed)");
            std::fflush(stdout);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
