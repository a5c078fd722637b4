// The batch tool as scripts use it: failing before the work, one way of speaking, many files
// in one call, warnings about the data, and stopping on a signal.
#include "tests/temp_dir.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct TOutcome {
    int Status;
    std::string Stdout;
    std::string Stderr;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliBatchUse : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.File(name); }

    TOutcome Run(const std::string& args) const
    {
        const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
        const std::string command = std::string(TULVO_CLI) + " " + args + " >'" + out +
                                    "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }

    // `rows` numbered samples of `series` series; `gaps` leaves every 10th cell of the
    // first series empty and makes the labels jump after the middle.
    std::string WriteTable(const std::string& name, int rows, int series, bool gaps = false) const
    {
        std::ofstream out(Path(name));
        out << "N";
        for (int k = 0; k < series; ++k)
            out << "\tS" << k;
        out << '\n';
        for (int i = 1; i <= rows; ++i) {
            out << (gaps && i > rows / 2 ? 3 * i : i);
            for (int k = 0; k < series; ++k) {
                out << '\t';
                if (!(gaps && k == 0 && i % 10 == 0))
                    out << std::sin(i * 0.01 * (k + 1));
            }
            out << '\n';
        }
        return Path(name);
    }

private:
    TTempDir folder_;
};

TEST_F(CliBatchUse, NoArgumentsAndVersion)
{
    const TOutcome bare = Run("");
    EXPECT_EQ(bare.Status, 2);
    EXPECT_TRUE(bare.Stdout.empty());
    EXPECT_NE(bare.Stderr.find("Usage:"), std::string::npos);

    const TOutcome version = Run("--version");
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Stdout.rfind("tulvo1d-cli 1.", 0), 0u) << version.Stdout;
    EXPECT_TRUE(version.Stderr.empty());
}

// Each is refused before the analysis starts: no series is transformed (a large table would
// take seconds), and what can be known without the input is refused before it is read.
TEST_F(CliBatchUse, WhatCanBeKnownEarlyIsRefusedBeforeTheAnalysis)
{
    const std::string wide = WriteTable("wide.txt", 70000, 1);
    struct TCase {
        std::string Args;
        int Status;
        std::string Says;
        bool ReadsInput;
    };
    const TCase cases[] = {
        {"1d '" + wide + "' -o '" + Path("x.svg") + "'", 2, "ends in .gif, .png, .bmp", false},
        {"1d '" + wide + "' -o '" + Path("no/such/x.gif") + "'", 1, "does not exist", false},
        {"1d '" + wide + "' -o '" + Path("x.png") + "' --coefs /proc/nope/c.npy", 1,
         "\"/proc/nope\"", false},
        {"2d '" + wide + "' --out-dir /proc/nope", 1, "\"/proc/nope", false},
        {"1d '" + wide + "' -o '" + Path("x.gif") + "' --steps 30", 1,
         "70030 x 50; PNG or TIFF or BMP can hold it", true},
        {"1d '" + wide + "' --out-dir '" + Path("out") + "' --format svg", 2, "--format", false},
    };
    for (const TCase& c : cases) {
        const TOutcome run = Run(c.Args);
        EXPECT_EQ(run.Status, c.Status) << c.Args;
        EXPECT_NE(run.Stderr.find(c.Says), std::string::npos) << run.Stderr;
        EXPECT_EQ(run.Stderr.find("lines read") != std::string::npos, c.ReadsInput) << run.Stderr;
        EXPECT_EQ(run.Stderr.find("Current dataset"), std::string::npos) << run.Stderr;
    }
    EXPECT_FALSE(fs::exists(Path("x.gif")));
    EXPECT_FALSE(fs::exists(Path("x.png")));
}

TEST_F(CliBatchUse, EveryMessageHasTheOnePrefix)
{
    const std::string gaps = WriteTable("gaps.txt", 80, 2, true);
    std::ofstream(Path("bad.txt")) << "N\tA\n1\t2\n2\tx\n";
    const std::string quiet = " --quiet --steps 30";
    const std::string runs[] = {
        "1d '" + gaps + "' -o '" + Path("g.png") + "'" + quiet,
        "1d '" + Path("bad.txt") + "' -o '" + Path("b.png") + "'" + quiet,
        "2d '" + Path("bad.txt") + "' --out-dir '" + Path("two") + "' --quiet",
        "2d '" + Path("missing.txt") + "' --out-dir '" + Path("two") + "' --quiet",
        "1d '" + gaps + "' -o '" + Path("g.png") + "' --steps 3",
        "1d '" + gaps + "' -o /proc/nope/g.png --quiet",
    };
    for (const std::string& args : runs) {
        const TOutcome run = Run(args);
        ASSERT_FALSE(run.Stderr.empty()) << args;
        for (const std::string& line : Lines(run.Stderr))
            EXPECT_EQ(line.rfind("tulvo1d-cli: ", 0), 0u) << args << "\n" << run.Stderr;
        EXPECT_EQ(run.Stderr.find("QStandardPaths"), std::string::npos);
    }
}

TEST_F(CliBatchUse, DataWarningsNameTheFileAndTheSeries)
{
    const std::string gaps = WriteTable("gaps.txt", 80, 2, true);
    const TOutcome run = Run("1d '" + gaps + "' -o '" + Path("g.png") + "' --steps 30 --quiet");
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_TRUE(fs::exists(Path("g.png")));
    const std::string head = "tulvo1d-cli: warning: " + gaps + ": ";
    EXPECT_NE(run.Stderr.find(head + "column \"S0\": 8 empty cells, read as 0\n"),
              std::string::npos)
        << run.Stderr;
    EXPECT_NE(run.Stderr.find(head + "labels unevenly spaced: steps from 1 to 83\n"),
              std::string::npos)
        << run.Stderr;
    EXPECT_EQ(run.Stderr.find("S1"), std::string::npos);
}

TEST_F(CliBatchUse, ManyFilesGoOnPastABadOne)
{
    const std::string first = WriteTable("first.txt", 64, 2);
    const std::string second = WriteTable("second.data.txt", 50, 1);
    std::ofstream(Path("bad.txt")) << "N\tA\n1\t2\n2\tx\n";
    const TOutcome run = Run("1d '" + first + "' '" + Path("bad.txt") + "' '" + second +
                             "' --out-dir '" + Path("out") + "' --format bmp --steps 30");
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(fs::exists(Path("out/first.bmp")));
    EXPECT_TRUE(fs::exists(Path("out/second.data.bmp")));
    EXPECT_FALSE(fs::exists(Path("out/bad.bmp")));
    EXPECT_EQ(run.Stderr, "tulvo1d-cli: " + Path("bad.txt") + ": Ошибка в строке :3(Exception)\n");
    EXPECT_EQ(run.Stdout, "3 files: 2 written, 1 failed\n");

    const TOutcome twoD = Run("2d '" + first + "' '" + second + "' --out-dir '" +
                              Path("planes") + "' --quiet");
    EXPECT_EQ(twoD.Status, 0) << twoD.Stderr;
    EXPECT_TRUE(fs::exists(Path("planes/first/RESULT.GIF")));
    EXPECT_TRUE(fs::exists(Path("planes/second.data/RESULT.TIFF")));

    // Two inputs of one name would write one result.
    fs::create_directory(Path("again"));
    const std::string twin = Path("again/first.txt");
    fs::copy_file(first, twin);
    EXPECT_EQ(Run("1d '" + first + "' '" + twin + "' --out-dir '" + Path("out") + "'").Status, 2);
}

// SIGINT and SIGTERM stop the run at its next checkpoint, with no output left behind.
TEST_F(CliBatchUse, SignalStopsTheRunAndLeavesNoOutput)
{
    const std::string input = WriteTable("long.txt", 20000, 24);
    for (const int signal : {SIGTERM, SIGINT}) {
        const std::string err = Path("stderr.txt");
        fs::remove(err); // the last round's words must not start this one early
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::freopen(err.c_str(), "w", stderr);
            std::freopen("/dev/null", "w", stdout);
            execl(TULVO_CLI, TULVO_CLI, "1d", input.c_str(), "-o", Path("long.png").c_str(),
                  "--steps", "300", "--raw-coefs", Path("raw.npy").c_str(), nullptr);
            _exit(127);
        }
        // The load's line appears once the first series is being transformed.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (ReadText(err).find("lines read") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << signal;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_NE(ReadText(err).find("tulvo1d-cli: stopped, nothing written"), std::string::npos);
        std::vector<std::string> left;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(Path(""))))
            left.push_back(entry.path().filename().string());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"long.txt", "stderr.txt"}));
    }
}

} // namespace
