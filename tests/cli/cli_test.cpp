// The batch front end as a user runs it: a real process, real files.
#include "engine/scales.h"
#include "picture/palette.h"
#include "tests/temp_dir.h"

#include <QImage>
#include <charconv>
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
        {"", 2},
        {"--version", 0},
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
        {"1d '" + input + "'" + out + " --axes", 2},
        {"1d '" + input + "'" + out + " --coi", 2},
        {"2d '" + input + "' --axes", 2},
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

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The CSV's lines split at commas, header first.
std::vector<std::vector<std::string>> ReadCsv(const std::string& path)
{
    std::vector<std::vector<std::string>> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields(1);
        for (const char c : line) {
            if (c == ',')
                fields.emplace_back();
            else
                fields.back().push_back(c);
        }
        lines.push_back(fields);
    }
    return lines;
}

double Parsed(const std::string& text)
{
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

const std::string kTwoSines = std::string(TULVO_FIXTURES) + "/cli/two_sines.txt";

} // namespace

// The fixture picture was written by the tool before the rulers existed:
// tulvo1d-cli 1d two_sines.txt -o two_sines_steps60.gif --steps 60
TEST_F(CliRun, DefaultPictureStaysByteForByteAsBefore)
{
    const std::string before = FileBytes(std::string(TULVO_FIXTURES) + "/cli/two_sines_steps60.gif");
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(Run("1d '" + kTwoSines + "' -o '" + Path("a.gif") + "' --steps 60").Status, 0);
    EXPECT_TRUE(FileBytes(Path("a.gif")) == before);
    ASSERT_EQ(Run("1d '" + kTwoSines + "' -o '" + Path("b.gif") + "' --steps 60 --scales '" +
                  Path("s.csv") + "' --coefs '" + Path("c.npy") + "'")
                  .Status,
              0);
    EXPECT_TRUE(FileBytes(Path("b.gif")) == before);
}

TEST_F(CliRun, ScaleFilesDescribeEveryBandRow)
{
    const TOutcome run =
        Run("1d '" + kTwoSines + "' -o '" + Path("p.gif") + "' --steps 40 --wavelet morlet" +
            " --sigma 2 --step quadratic --min-scale -10 --scales '" + Path("s.csv") +
            "' --coefs '" + Path("c.npy") + "' --raw-coefs '" + Path("raw") + "'");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    const std::vector<double> grid = ScaleGrid(ssQuadratic, 100, -10, 40);
    const auto csv = ReadCsv(Path("s.csv"));
    ASSERT_EQ(csv.size(), grid.size() + 1);
    EXPECT_EQ(csv[0], (std::vector<std::string>{"row", "scale", "period_samples",
                                                "period_label", "coi_samples"}));
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const auto& f = csv[i + 1];
        ASSERT_EQ(f.size(), 5u);
        EXPECT_EQ(f[0], std::to_string(i));
        EXPECT_EQ(Parsed(f[1]), grid[i]); // written to round-trip
        const double period = 2 * 3.141592653589793 * std::fabs(grid[i]) / 6;
        EXPECT_NEAR(Parsed(f[2]), period, 1e-9 * (1 + period));
        EXPECT_NEAR(Parsed(f[3]), 0.5 * period, 1e-9 * (1 + period)); // labels step by 0.5
        EXPECT_NEAR(Parsed(f[4]), 2 * std::sqrt(2.0) * std::fabs(grid[i]), 1e-9 * (1 + period));
    }
    for (const char* name : {"c.scales.npy", "raw.scales.npy"}) {
        std::string header;
        EXPECT_EQ(ReadNpy(Path(name), header), grid) << name;
        EXPECT_NE(header.find("'shape': (40,)"), std::string::npos) << header;
    }

    std::ofstream(Path("uneven.txt")) << "N\tA\n1\t2\n2\t5\n4\t1\n5\t7\n";
    ASSERT_EQ(Run("1d '" + Path("uneven.txt") + "' -o '" + Path("u.gif") + "' --steps 30 --scales '" +
                  Path("u.csv") + "'")
                  .Status,
              0);
    const auto uneven = ReadCsv(Path("u.csv"));
    ASSERT_EQ(uneven.size(), 31u);
    EXPECT_EQ(uneven[5][3], "");
    EXPECT_FALSE(uneven[5][2].empty());
}

TEST_F(CliRun, AxesSurroundThePictureAndTheConeShadesOnlyNearTheEnds)
{
    const std::string common = "1d '" + kTwoSines + "' --steps 60 -o '";
    ASSERT_EQ(Run(common + Path("plain.png") + "'").Status, 0);
    ASSERT_EQ(Run(common + Path("axes.png") + "' --axes").Status, 0);
    ASSERT_EQ(Run(common + Path("cone.png") + "' --coi").Status, 0);
    const QImage plain(QString::fromStdString(Path("plain.png")));
    const QImage axes(QString::fromStdString(Path("axes.png")));
    const QImage cone(QString::fromStdString(Path("cone.png")));
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(axes.size(), plain.size() + QSize(150 + 12, 32 + 40));
    ASSERT_EQ(cone.size(), plain.size());
    // The picture sits unchanged inside the rulers.
    EXPECT_EQ(axes.copy(150, 32, plain.width(), plain.height()).convertToFormat(QImage::Format_RGB32),
              plain.convertToFormat(QImage::Format_RGB32));
    // Row 0 (scale 100) is inside the cone everywhere across 300 samples; the bottom row
    // (scale 1, cone half-width 1.4 samples) only at its first and last samples.
    const int top = 10, bottom = 10 + 59, middle = 25 + 150;
    EXPECT_NE(cone.pixel(middle, top), plain.pixel(middle, top));
    EXPECT_EQ(cone.pixel(middle, bottom), plain.pixel(middle, bottom));
    EXPECT_EQ(cone.pixel(25 + 5, bottom), plain.pixel(25 + 5, bottom));
}

TEST_F(CliRun, TwoDimensionalScalesListTheFramesWithTheirWavelengths)
{
    const std::string input = WriteSeriesFile(40);
    const TOutcome run = Run("2d '" + input + "' --out-dir '" + Path("out") +
                             "' --wavelet morlet --k0 4 --step linear --max-scale 20 --scales '" +
                             Path("f.csv") + "'");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    const auto csv = ReadCsv(Path("f.csv"));
    ASSERT_EQ(csv.size(), 33u);
    EXPECT_EQ(csv[0], (std::vector<std::string>{"frame", "scale", "wavelength_pixels"}));
    const std::vector<double> grid = ScaleGrid(ssLinear, 1, 20, 32);
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(Parsed(csv[i + 1][1]), grid[i]);
        EXPECT_NEAR(Parsed(csv[i + 1][2]), 2 * 3.141592653589793 * grid[i] / 4, 1e-6 * grid[i]);
    }
}
