// The batch front end as a user runs it: a real process, real files.
#include "picture/palette.h"
#include "tests/temp_dir.h"

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct TOutcome {
    int Status;
    std::string Stderr;
};

class CliRun : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.File(name); }

    TOutcome Run(const std::string& args) const
    {
        const std::string err = Path("stderr.txt");
        const std::string command =
            std::string(TULVO_CLI) + " " + args + " >/dev/null 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        std::ifstream in(err);
        std::stringstream text;
        text << in.rdbuf();
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
    }

    // A table of `rows` numbered samples and two series.
    std::string WriteSeriesFile(int rows) const
    {
        std::ofstream out(Path("series.txt"));
        out << "N\tslow\tfast\n";
        for (int i = 1; i <= rows; ++i)
            out << i << '\t' << std::sin(i * 0.05) << '\t' << std::cos(i * 0.9) << '\n';
        return Path("series.txt");
    }

private:
    TTempDir folder_;
};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The values of a float64 .npy file and its shape, as written by the tool.
std::vector<double> ReadNpy(const std::string& path, std::string& header)
{
    std::ifstream in(path, std::ios::binary);
    char prefix[10];
    in.read(prefix, 10);
    EXPECT_EQ(std::string(prefix, 6), "\x93NUMPY");
    const int length = static_cast<unsigned char>(prefix[8]) |
                       static_cast<unsigned char>(prefix[9]) << 8;
    header.resize(static_cast<std::size_t>(length));
    in.read(header.data(), length);
    std::vector<double> values;
    double v;
    while (in.read(reinterpret_cast<char*>(&v), sizeof v))
        values.push_back(v);
    return values;
}

TEST_F(CliRun, OneDimensionalPictureShowsTheLevelsOfTheWrittenCoefficients)
{
    const int w = 150, steps = 40;
    const std::string input = WriteSeriesFile(w);
    const TOutcome run = Run("1d '" + input + "' -o '" + Path("out.png") + "' --steps 40" +
                             " --wavelet morlet --colors 64 --locale en_US --coefs '" +
                             Path("c.npy") + "' --raw-coefs '" + Path("raw.npy") + "'");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_NE(run.Stderr.find("Current dataset : 1\nO'k"), std::string::npos) << run.Stderr;

    const QImage picture(QString::fromStdString(Path("out.png")));
    ASSERT_EQ(picture.size(), QSize(w + 30, 2 * (steps + 1) + 14 + 5));
    std::string header;
    const std::vector<double> coefs = ReadNpy(Path("c.npy"), header);
    EXPECT_NE(header.find("'shape': (2, 40, 150)"), std::string::npos) << header;
    ASSERT_EQ(coefs.size(), 2u * steps * w);
    EXPECT_EQ(ReadNpy(Path("raw.npy"), header).size(), coefs.size());

    const TPalette64 palette = QuantisedPalette(0, 5);
    int mismatches = 0, compared = 0;
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < steps; ++j)
            for (int c = 61; c < w; ++c) {
                const QRgb colour = picture.pixel(c + 25, k * (steps + 1) + j + 10);
                if (colour == qRgb(0, 0, 0) || colour == qRgb(255, 255, 255) || c % 30 == 0)
                    continue; // data curve, grid lines
                const TRgb want = palette[ColorIndex(coefs[(k * steps + j) * w + c])];
                ++compared;
                mismatches += colour != qRgb(want.R, want.G, want.B);
            }
    EXPECT_GT(compared, 2 * steps * 80);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(CliRun, GifOutputAndTwoDimensionalResults)
{
    const std::string input = WriteSeriesFile(64);
    ASSERT_EQ(Run("1d '" + input + "' -o '" + Path("out.gif") + "' --steps 30").Status, 0);
    const QImage gif(QString::fromStdString(Path("out.gif")));
    EXPECT_EQ(gif.size(), QSize(94, 2 * 31 + 19));

    const TOutcome twoD = Run("2d '" + input + "' --out-dir '" + Path("new/folder") +
                              "' --wavelet morlet --step linear");
    ASSERT_EQ(twoD.Status, 0) << twoD.Stderr;
    EXPECT_TRUE(fs::exists(Path("new/folder/RESULT.GIF")));
    EXPECT_TRUE(fs::exists(Path("new/folder/RESULT.TIFF")));
    EXPECT_NE(twoD.Stderr.find("angle 360 ( [ 32 ]/ [ 32 ] ) \nO'k"), std::string::npos);
}

TEST_F(CliRun, UsageErrorsAndFailuresHaveTheirExitStatus)
{
    const std::string input = WriteSeriesFile(40);
    const std::string out = " -o '" + Path("x.gif") + "'";
    const std::pair<std::string, int> cases[] = {
        {"--help", 0},
        {"", 0},
        {"3d x", 2},
        {"1d '" + input + "'", 2},
        {"1d '" + input + "'" + out + " --steps 29", 2},
        {"1d '" + input + "'" + out + " --max-scale 0", 2},
        {"1d '" + input + "'" + out + " --min-scale 0", 2},
        {"1d '" + input + "'" + out + " --min-scale 0 --step quadratic --steps 30", 0},
        {"1d '" + input + "'" + out + " --alpha 1,5", 2},
        {"1d '" + input + "'" + out + " --alpha nan", 2},
        {"1d '" + input + "'" + out + " --colors 5", 2},
        {"1d '" + input + "'" + out + " --bogus", 2},
        {"1d '" + input + "' -o '" + Path("x.webp") + "'", 2},
        {"2d '" + input + "' --steps 40", 2},
        {"1d '" + Path("missing.txt") + "'" + out, 1},
        {"1d '" + input + "' -o '" + Path("no/such/dir/x.gif") + "' --steps 30", 1},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(Run(args).Status, status) << args;
    EXPECT_FALSE(fs::exists(Path("no")));
}

TEST_F(CliRun, LoadFailuresAreWordedAsTheWindowsBox)
{
    std::ofstream(Path("bad.txt")) << "N\tA\n1\t2\n2\tx\n";
    const TOutcome run = Run("1d '" + Path("bad.txt") + "' -o '" + Path("x.gif") + "'");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Stderr.find("Ошибка в строке :3(Exception)"), std::string::npos) << run.Stderr;
    EXPECT_FALSE(fs::exists(Path("x.gif")));
}

// Two runs into one folder at the same time: each result pair is that of one run alone, both
// succeed, and no file of the user's there is touched.
TEST_F(CliRun, ConcurrentTwoDRunsIntoOneFolderDoNotMix)
{
    for (const char* name : {"a", "b"}) {
        std::ofstream matrix(Path(std::string(name) + ".txt"));
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 16; ++c)
                matrix << (c ? "\t" : "") << (name[0] == 'a' ? (r * c) % 7 : (r + 2 * c) % 5)
                       << (c == 15 ? "\n" : "");
    }
    const std::string options = " --step linear --wavelet morlet";
    for (const char* name : {"a", "b"})
        ASSERT_EQ(Run(std::string("2d '") + Path(std::string(name) + ".txt") + "' --out-dir '" +
                      Path(std::string("solo_") + name) + "'" + options).Status, 0);
    const auto pairIn = [&](const std::string& dir) {
        return std::pair{ReadBytes(dir + "/RESULT.GIF"), ReadBytes(dir + "/RESULT.TIFF")};
    };
    const auto soloA = pairIn(Path("solo_a")), soloB = pairIn(Path("solo_b"));
    ASSERT_NE(soloA.first, soloB.first);

    const std::string shared = Path("shared");
    fs::create_directory(shared);
    std::ofstream(shared + "/Muimg00000-360.BMP") << "the user's";
    std::ofstream(shared + "/Result.Avi") << "the user's";
    for (int round = 0; round < 4; ++round) {
        const auto start = [&](const char* name) {
            return std::string(TULVO_CLI) + " 2d '" + Path(std::string(name) + ".txt") +
                   "' --out-dir '" + shared + "'" + options + " >/dev/null 2>&1";
        };
        const std::string both = start("a") + " & a=$!; " + start("b") +
                                 "; b=$?; wait $a && test $b -eq 0";
        ASSERT_EQ(std::system(both.c_str()), 0) << "round " << round;
        const auto result = pairIn(shared);
        EXPECT_TRUE(result == soloA || result == soloB) << "round " << round;
    }
    EXPECT_EQ(ReadBytes(shared + "/Muimg00000-360.BMP"), "the user's");
    EXPECT_EQ(ReadBytes(shared + "/Result.Avi"), "the user's");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(shared))
        ++entries;
    EXPECT_EQ(entries, 4u);
}

// "-" reads standard input into memory, whatever it is; a line without end is refused once
// it passes the line cap, not after the memory is gone.
TEST_F(CliRun, DashReadsStandardInput)
{
    const std::string input = WriteSeriesFile(64);
    const TOutcome piped = Run("1d - -o '" + Path("piped.gif") + "' --steps 30 < '" + input + "'");
    ASSERT_EQ(piped.Status, 0) << piped.Stderr;
    EXPECT_EQ(QImage(QString::fromStdString(Path("piped.gif"))).size(), QSize(94, 2 * 31 + 19));

    const TOutcome endless = Run("1d - -o '" + Path("zero.gif") + "' < /dev/zero");
    EXPECT_EQ(endless.Status, 1);
    EXPECT_NE(endless.Stderr.find("Ошибка в строке :1 (the line is longer than 256 MiB)"),
              std::string::npos) << endless.Stderr;
    EXPECT_FALSE(fs::exists(Path("zero.gif")));
}

// Pictures the chosen format cannot hold are refused from the table's size, before the
// analysis, instead of crashing in the library once the work is done.
TEST_F(CliRun, OutputsTheFormatCannotHoldAreRefusedBeforeTheWork)
{
    {
        // One row of 10000 columns: 9999 bands of 101 rows, over a million pixels high.
        std::ofstream wide(Path("wide.txt"));
        for (int c = 0; c < 10000; ++c)
            wide << (c == 0 ? "" : "\t") << c % 7;
        wide << '\n';
    }
    {
        std::ofstream longSeries(Path("long.txt")); // 65501 samples: 65531 pixels wide
        for (int i = 0; i < 65501; ++i)
            longSeries << i << '\t' << i % 5 << '\n';
    }
    struct TCase {
        std::string Input, Output, Says;
    };
    const TCase cases[] = {
        {"wide.txt", "x.png", "a PNG picture can be at most 1000000 pixels wide and high, this "
                              "one is 31 x 1009918; TIFF or BMP can hold it"},
        {"wide.txt", "x.gif", "GIF picture can be at most 65535"},
        {"long.txt", "x.jpg", "a JPEG picture can be at most 65500 pixels wide and high, this "
                              "one is 65531 x 120; GIF or PNG or TIFF or BMP can hold it"},
    };
    for (const TCase& c : cases) {
        const TOutcome run = Run("1d '" + Path(c.Input) + "' -o '" + Path(c.Output) + "'");
        EXPECT_EQ(run.Status, 1) << c.Output;
        EXPECT_NE(run.Stderr.find(c.Says), std::string::npos) << run.Stderr;
        EXPECT_EQ(run.Stderr.find("Current dataset"), std::string::npos) << run.Stderr;
        EXPECT_FALSE(fs::exists(Path(c.Output)));
    }
}

} // namespace
