// Whole 2-D runs beside their FFT floor, in one program:
//  - the floor: one r2c and 384 c2r transforms of a 1024 x 1024 plane (the 32 scales x 12
//    orientations of a Morlet run), FFTW estimate plans, two threads side by side, each on
//    its own buffer;
//  - `tulvo1d-cli 2d` of 512 x 512 and 1024 x 1024 grey pictures made here (smooth waves and
//    sharp-edged squares), Morlet with and without the contrast pass and the Gaussian, each
//    run its own process, with wall time and peak memory (the child's maximum resident set).
//
// Usage: bench_twod_runs [--cli PATH] [--sizes 512,1024] [--repeat N] [--cases LIST]
//   PATH defaults to tulvo1d-cli beside this program's folder (build/bin/tulvo1d-cli);
//   LIST is a comma list of morlet, contrast, gauss, phase (default morlet,contrast,gauss).
// A run that fails prints its exit status instead of its time.

#include <fftw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The grey levels of the test picture: waves plus a checkerboard of 64-pixel squares, so the
// transform sees both smooth detail and edges.
std::uint8_t TestLevel(int x, int y)
{
    const double v = 127 + 60 * std::sin(x / 9.0) * std::cos(y / 13.0) +
                     (((x / 64 + y / 64) % 2) ? 50 : -50);
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xffff);
    Put16(b, v >> 16);
}

// An 8-bit BMP with a grey palette; rows bottom-up, padded to four bytes.
void WriteTestPicture(const fs::path& path, int side)
{
    const std::uint32_t stride = (static_cast<std::uint32_t>(side) + 3) & ~3u;
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + stride * side);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, side);
    Put32(b, side);
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 0);
    Put32(b, stride * side);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 256);
    Put32(b, 0);
    for (int g = 0; g < 256; ++g) {
        b.insert(b.end(), {static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(g),
                           static_cast<std::uint8_t>(g), 0});
    }
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x)
            b.push_back(TestLevel(x, y));
        for (std::uint32_t p = side; p < stride; ++p)
            b.push_back(0);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// Wall and processor time (user + system, all threads) of one measurement. On a shared
// machine the processor time is the steadier figure: other processes stretch the wall time.
struct TTimes {
    double Wall = 0;
    double Cpu = 0;
};

double CpuSeconds(const rusage& u)
{
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + 1e-6 * (u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

struct TFloor {
    TTimes All;    // r2c once, then the c2r transforms with their refills
    TTimes Refill; // the refills alone, the same way
};

// One r2c of the test picture, then `transforms` c2r shared by two threads, each refilling
// its own in-place buffer with the spectrum before every c2r (a c2r destroys its input).
TFloor MeasureFloor(int side, int transforms)
{
    const std::size_t halfCols = static_cast<std::size_t>(side) / 2 + 1;
    const std::size_t complexCount = static_cast<std::size_t>(side) * halfCols;
    auto allocate = [&] {
        auto* p = fftw_alloc_complex(complexCount);
        std::memset(p, 0, complexCount * sizeof(fftw_complex));
        return p;
    };
    fftw_complex* spectrum = allocate();
    fftw_complex* buffers[2] = {allocate(), allocate()};
    double* real = reinterpret_cast<double*>(spectrum);
    fftw_plan forward = fftw_plan_dft_r2c_2d(side, side, real, spectrum, FFTW_ESTIMATE);
    fftw_plan backward = fftw_plan_dft_c2r_2d(side, side, buffers[0],
                                              reinterpret_cast<double*>(buffers[0]),
                                              FFTW_ESTIMATE);
    const std::size_t paddedCols = 2 * halfCols;

    auto run = [&](bool withTransforms) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                real[y * paddedCols + x] = TestLevel(x, y) / 255.0;
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        const Clock::time_point start = Clock::now();
        if (withTransforms)
            fftw_execute(forward);
        auto share = [&](int lane) {
            for (int t = lane; t < transforms; t += 2) {
                std::memcpy(buffers[lane], spectrum, complexCount * sizeof(fftw_complex));
                if (withTransforms)
                    fftw_execute_dft_c2r(backward, buffers[lane],
                                         reinterpret_cast<double*>(buffers[lane]));
            }
        };
        std::thread second(share, 1);
        share(0);
        second.join();
        TTimes t;
        t.Wall = Seconds(Clock::now() - start);
        getrusage(RUSAGE_SELF, &after);
        t.Cpu = CpuSeconds(after) - CpuSeconds(before);
        return t;
    };
    TFloor floor;
    floor.All = run(true);
    floor.Refill = run(false);
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
    fftw_free(spectrum);
    fftw_free(buffers[0]);
    fftw_free(buffers[1]);
    return floor;
}

struct TRun {
    double Seconds = 0;
    double Cpu = 0;
    long PeakKiB = 0;
    int Status = 0;
};

// The batch tool as its own process, output to /dev/null; the peak is the child's own.
TRun RunCli(const std::string& cli, const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(cli.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(cli.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    TRun run;
    run.Seconds = Seconds(Clock::now() - start);
    run.Cpu = CpuSeconds(usage);
    run.PeakKiB = usage.ru_maxrss;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

struct TCase {
    std::string Name;
    std::vector<std::string> Options;
};

const TCase kCases[] = {
    {"morlet", {"--wavelet", "morlet", "--step", "linear"}},
    {"contrast", {"--wavelet", "morlet", "--step", "linear", "--contrast"}},
    {"gauss", {"--wavelet", "gauss", "--step", "linear"}},
    {"phase", {"--wavelet", "morlet", "--step", "linear", "--output", "phase"}},
};

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty())
            items.push_back(item);
    return items;
}

} // namespace

int main(int argc, char** argv)
{
    fs::path self = fs::canonical("/proc/self/exe");
    std::string cli = (self.parent_path().parent_path() / "bin" / "tulvo1d-cli").string();
    std::vector<int> sizes = {512, 1024};
    std::vector<std::string> caseNames = {"morlet", "contrast", "gauss"};
    int repeat = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--cli")
            cli = argv[i + 1];
        else if (option == "--sizes") {
            sizes.clear();
            for (const std::string& s : SplitList(argv[i + 1]))
                sizes.push_back(std::stoi(s));
        } else if (option == "--repeat")
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--cases")
            caseNames = SplitList(argv[i + 1]);
        else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }

    char pattern[] = "/tmp/tulvo-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const fs::path work = pattern;

    const int kTransforms = 384;
    std::printf("FFT floor: r2c once + %d c2r, estimate plans, 2 threads side by side "
                "(the c2r input refills timed apart and left out)\n",
                kTransforms);
    std::vector<TTimes> floors;
    for (int side : sizes) {
        const TFloor floor = MeasureFloor(side, kTransforms);
        floors.push_back({floor.All.Wall - floor.Refill.Wall, floor.All.Cpu - floor.Refill.Cpu});
        std::printf("  %4d x %-4d  wall %.3f s, processor %.3f s  (with the refills: %.3f s, "
                    "%.3f s)\n",
                    side, side, floors.back().Wall, floors.back().Cpu, floor.All.Wall,
                    floor.All.Cpu);
    }
    std::printf("cli: %s\n\n", cli.c_str());

    // What the process holds before any plane: the libraries, a tiny picture's run.
    WriteTestPicture(work / "tiny.bmp", 16);
    const TRun tiny = RunCli(cli, {"2d", (work / "tiny.bmp").string(), "--out-dir",
                                   (work / "out").string(), "--wavelet", "gauss"});
    std::printf("process base (16 x 16 run): %.0f MiB; a plane is Rows x Cols complex values "
                "(16 bytes each)\n\n",
                tiny.PeakKiB / 1024.0);

    std::printf("%-11s %-9s %8s %8s %8s %8s %9s %10s\n", "size", "case", "wall_s", "x_floor",
                "cpu_s", "x_floor", "peak_MiB", "plane_MiB");
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const int side = sizes[k];
        const fs::path picture = work / ("m" + std::to_string(side) + ".bmp");
        WriteTestPicture(picture, side);
        const TTimes sideFloor = floors[k];
        const double planeMiB = 16.0 * side * side / (1024.0 * 1024.0);
        for (const std::string& name : caseNames) {
            const TCase* c = nullptr;
            for (const TCase& known : kCases)
                if (known.Name == name)
                    c = &known;
            if (!c) {
                std::fprintf(stderr, "unknown case %s\n", name.c_str());
                continue;
            }
            std::vector<std::string> args = {"2d", picture.string(), "--out-dir",
                                             (work / "out").string()};
            args.insert(args.end(), c->Options.begin(), c->Options.end());
            TRun best;
            best.Seconds = 1e300;
            for (int r = 0; r < repeat; ++r) {
                const TRun run = RunCli(cli, args);
                if (run.Status != 0) {
                    best = run;
                    break;
                }
                if (run.Seconds < best.Seconds)
                    best = run;
                best.PeakKiB = std::max(best.PeakKiB, run.PeakKiB);
            }
            char label[32];
            std::snprintf(label, sizeof label, "%dx%d", side, side);
            if (best.Status != 0)
                std::printf("%-11s %-9s   failed with exit status %d\n", label, name.c_str(),
                            best.Status);
            else
                std::printf("%-11s %-9s %8.2f %8.1f %8.2f %8.1f %9.0f %10.0f\n", label,
                            name.c_str(), best.Seconds, best.Seconds / sideFloor.Wall, best.Cpu,
                            best.Cpu / sideFloor.Cpu, best.PeakKiB / 1024.0, planeMiB);
            std::fflush(stdout);
        }
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
