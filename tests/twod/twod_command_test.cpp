#include "data/data_errors.h"
#include "engine/fp_checkpoint.h"
#include "engine/parallel_rows.h"
#include "twod/frame_writer.h"
#include "tests/full_disk.h"
#include "tests/memory_limit.h"
#include "tests/temp_dir.h"
#include "imaging/imagick.h"
#include "twod/twod_command.h"
#include "twod/twod_estimate.h"
#include "engine/memory_budget.h"
#include "picture/palette.h"

#include <Magick++.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <atomic>
#include <list>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class TRecordingProgress : public TCommandProgress {
public:
    std::vector<std::string> Texts;
    void SetStatusText(const std::string& text) override { Texts.push_back(text); }
    void ProcessPendingMessages() override {}
};

// A fresh directory for each test.
class TwoDRun : public testing::Test {
protected:
    std::string Dir() const { return folder_.Path().string() + "/"; }
    // Once the work in the background is done: replaced files go there.
    std::vector<std::string> Entries() const
    {
        WaitForBackgroundWork();
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static void SetUpTestSuite() { session_ = std::make_unique<ImagickSession>(); }
    static void TearDownTestSuite() { session_.reset(); }

private:
    TTempDir folder_;
    static inline std::unique_ptr<ImagickSession> session_;
};

// A rows x cols table of numbers whose cell (r, c) is value(r, c).
TDataTable TableOf(int rows, int cols, const std::function<double(int, int)>& value)
{
    TDataTable table;
    for (int c = 0; c < cols; ++c)
        table.AddColumn("V" + std::to_string(c), ckNumber);
    table.Open();
    std::vector<double> row(static_cast<std::size_t>(cols));
    const std::vector<std::uint8_t> full(static_cast<std::size_t>(cols), 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            row[c] = value(r, c);
        table.AppendRow(row, full);
    }
    return table;
}

TDataTable Matrix(int rows, int cols)
{
    return TableOf(rows, cols, [](int r, int c) {
        return std::sin(0.7 * c) * std::cos(0.4 * r) + 0.01 * r * c;
    });
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(MuImageNames, FiveAndThreeDigitsAtLeast)
{
    EXPECT_EQ(MuImage::FrameName(7, 360), "Muimg00007-360.BMP");
    EXPECT_EQ(MuImage::FrameName(123456, 360), "Muimg123456-360.BMP");
    EXPECT_EQ(MuImage::FrameName(0, 5), "Muimg00000-005.BMP");
}

// The frames live in a folder of the writer's own: files of the user's, even of the frames'
// names, are never touched, and the folder goes with the writer.
TEST_F(TwoDRun, WriterFreedWithoutAssembleLeavesNothing)
{
    WriteText(Dir() + "RESULT.GIF", "earlier");
    WriteText(Dir() + "Result.Avi", "the user's");
    WriteText(Dir() + "Muimg00007-360.BMP", "the user's");
    const std::vector<std::string> before = Entries();
    {
        MuImage writer(Dir());
        QImage frame(4, 3, QImage::Format_Indexed8);
        frame.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        frame.fill(1);
        writer.AddFrame(frame, 7, 360);
        writer.AddFrame(frame, 8, 360);
        EXPECT_EQ(writer.Files(), (std::vector<std::string>{writer.FrameDir() + "Muimg00007-360.BMP",
                                                            writer.FrameDir() + "Muimg00008-360.BMP"}));
        EXPECT_EQ(fs::path(writer.FrameDir()).parent_path().parent_path(), fs::path(Dir()).parent_path());
        EXPECT_EQ(Entries().size(), before.size() + 1);
    }
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(ReadText(Dir() + "RESULT.GIF"), "earlier");
    EXPECT_EQ(ReadText(Dir() + "Muimg00007-360.BMP"), "the user's");
    EXPECT_EQ(ReadText(Dir() + "Result.Avi"), "the user's");
}

struct TResultFiles {
    std::size_t GifFrames = 0;
    std::size_t TiffPages = 0;
    unsigned Delay = 0;
    unsigned Iterations = 1;
    std::size_t Width = 0, Height = 0;
};

TResultFiles ReadResults(const std::string& dir)
{
    TResultFiles r;
    std::list<Magick::Image> gif, tiff;
    Magick::readImages(&gif, dir + "RESULT.GIF");
    Magick::readImages(&tiff, dir + "RESULT.TIFF");
    r.GifFrames = gif.size();
    r.TiffPages = tiff.size();
    if (!gif.empty()) {
        r.Delay = gif.front().animationDelay();
        r.Iterations = gif.front().animationIterations();
        r.Width = gif.front().columns();
        r.Height = gif.front().rows();
    }
    return r;
}

TEST_F(TwoDRun, MorletAndGaussianRunsWriteThirtyTwoFramesAndNoLeftovers)
{
    const TDataTable table = Matrix(24, 32);
    for (TWaveletKind wavelet : {wkMorlet, wkGaussian}) {
        TAnalysisParams p;
        p.WaveletKind = wavelet;
        p.StepKind = ssLinear;
        p.WaveletContrast = wavelet == wkMorlet;
        TFixedParameters params(p);
        TRecordingProgress progress;
        const std::optional<TTwoDResult> result = DoTulvo2D(table, Dir(), params, progress);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->TiffPath, Dir() + "RESULT.TIFF");
        EXPECT_EQ(Entries(), (std::vector<std::string>{"RESULT.GIF", "RESULT.TIFF"}));
        const TResultFiles files = ReadResults(Dir());
        EXPECT_EQ(files.GifFrames, 32u);
        EXPECT_EQ(files.TiffPages, 32u);
        EXPECT_EQ(files.Delay, 20u);
        EXPECT_EQ(files.Iterations, 0u);
        EXPECT_EQ(files.Width, 32u);
        EXPECT_EQ(files.Height, 24u);

        const bool morlet = wavelet == wkMorlet;
        ASSERT_EQ(progress.Texts.size(), morlet ? 32u * 12 + 1 : 33u);
        EXPECT_EQ(progress.Texts.front(), morlet
                                              ? "Scale       1.0000  angle  30 ( [ 1 ]/ [ 32 ] ) "
                                              : "Scale       1.0000  ( [ 1 ]/ [ 32 ] ) ");
        EXPECT_EQ(progress.Texts[progress.Texts.size() - 2],
                  morlet ? "Scale     100.0000  angle 360 ( [ 32 ]/ [ 32 ] ) "
                         : "Scale     100.0000  ( [ 32 ]/ [ 32 ] ) ");
        EXPECT_EQ(progress.Texts.back(), "O'k");
    }
}

TEST_F(TwoDRun, FailedRunsKeepEarlierResultsAndLeaveNoFrames)
{
    WriteText(Dir() + "RESULT.GIF", "earlier gif");
    WriteText(Dir() + "RESULT.TIFF", "earlier tiff");
    const TDataTable table = Matrix(6, 8);
    TAnalysisParams p;
    p.WaveletKind = wkGaussian;
    p.Alpha = 0; // the wavelet divides by zero
    TFixedParameters params(p);
    TRecordingProgress progress;
    EXPECT_THROW(DoTulvo2D(table, Dir(), params, progress), EZeroDivide);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"RESULT.GIF", "RESULT.TIFF"}));
    EXPECT_EQ(ReadText(Dir() + "RESULT.GIF"), "earlier gif");

    TFixedParameters sound;
    EXPECT_THROW(DoTulvo2D(table, Dir() + "missing/", sound, progress), EFileError);
    EXPECT_EQ(ReadText(Dir() + "RESULT.TIFF"), "earlier tiff");
}

// A run the memory cannot hold, whose frames no GIF can hold, or of a single value, is
// refused before its first step: no progress, no frame folder, nothing written.
TEST_F(TwoDRun, RunsThatCannotEndWellAreRefusedBeforeAnyWork)
{
    const TMemoryLimit limit(64u << 20);
    ASSERT_GT(TwoDRunBytes(200, 1000), MemoryBudget());
    TFixedParameters params;
    TRecordingProgress progress;
    try {
        DoTulvo2D(Matrix(200, 1000), Dir(), params, progress);
        ADD_FAILURE() << "the run was not refused";
    } catch (const EOutOfMemory& refused) {
        EXPECT_EQ(std::string(refused.what()).rfind("Not enough memory for the 2-D run (a matrix "
                                                    "of 200 x 1000, 32 frames): ", 0),
                  0u) << refused.what();
        EXPECT_NE(std::string(refused.what()).find(" needed, 64.0 MiB available"),
                  std::string::npos) << refused.what();
    }
    EXPECT_THROW(DoTulvo2D(Matrix(1, 65536), Dir(), params, progress), EImageError);
    try {
        DoTulvo2D(Matrix(1, 1), Dir(), params, progress);
        ADD_FAILURE() << "a single value was analysed";
    } catch (const EGeneric& refused) {
        EXPECT_STREQ(refused.what(), "A matrix of a single value cannot be analysed in 2-D: its "
                                     "normalisation needs at least two values");
    }
    EXPECT_TRUE(progress.Texts.empty());
    EXPECT_TRUE(Entries().empty());
    // The picture of the report: 20000 x 20000 needs far more than this machine has.
    EXPECT_GT(TwoDRunBytes(20000, 20000), std::size_t(150) << 30);
}

TEST_F(TwoDRun, FullDiskSaysWhyAndLeavesNoPartialFrame)
{
    fs::create_directory(Dir() + "small");
    const TFullDisk disk(Dir() + "small");
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    TFixedParameters params;
    TRecordingProgress progress;
    try {
        DoTulvo2D(Matrix(100, 100), Dir() + "small/", params, progress); // 32 frames of 10 KB
        ADD_FAILURE() << "the frames fitted";
    } catch (const EFileError& failure) {
        EXPECT_NE(std::string(failure.what()).find("No space left on device"), std::string::npos)
            << failure.what();
    }
    EXPECT_TRUE(fs::is_empty(Dir() + "small"));
}

TEST_F(TwoDRun, OneRowMatrixRunsAndEmptyTablesDoNothing)
{
    TFixedParameters params;
    TRecordingProgress progress;
    EXPECT_TRUE(DoTulvo2D(Matrix(1, 16), Dir(), params, progress).has_value());
    EXPECT_EQ(ReadResults(Dir()).GifFrames, 32u);

    progress.Texts.clear();
    TDataTable closed;
    EXPECT_FALSE(DoTulvo2D(closed, Dir(), params, progress).has_value());
    EXPECT_FALSE(DoTulvo2D(Matrix(0, 3), Dir(), params, progress).has_value());
    EXPECT_TRUE(progress.Texts.empty());
}

// The frames of RESULT.GIF, each as its pixels' colours, row by row.
std::vector<std::vector<std::uint32_t>> FrameColours(const std::string& dir)
{
    std::list<Magick::Image> gif;
    Magick::readImages(&gif, dir + "RESULT.GIF");
    std::vector<std::vector<std::uint32_t>> frames;
    for (Magick::Image& image : gif) {
        image.type(Magick::TrueColorType);
        const std::size_t w = image.columns(), h = image.rows();
        const Magick::PixelPacket* p = image.getConstPixels(0, 0, w, h);
        std::vector<std::uint32_t> colours;
        for (std::size_t i = 0; i < w * h; ++i)
            colours.push_back((std::uint32_t(p[i].red >> 8) << 16) |
                              (std::uint32_t(p[i].green >> 8) << 8) | (p[i].blue >> 8));
        frames.push_back(colours);
    }
    return frames;
}

// A matrix with waves of several directions, so every orientation has something to see;
// `nudge` changes every value by one part in 1e12 (with a sign that varies).
TDataTable Waves(int rows, int cols, bool nudge)
{
    return TableOf(rows, cols, [nudge](int r, int c) {
        const double v = 2 + std::sin(0.9 * c + 0.3 * r) + std::cos(0.5 * r - 0.2 * c) +
                         0.3 * std::sin(0.05 * r * c);
        return nudge ? v * (1 + 1e-12 * (((r * 7 + c * 3) % 5) - 2)) : v;
    });
}

std::vector<std::vector<std::uint32_t>> PhaseFrames(const std::string& dir, TWaveletKind wavelet,
                                                    bool contrast, bool nudge,
                                                    std::vector<std::string>* texts = nullptr)
{
    TAnalysisParams p;
    p.WaveletKind = wavelet;
    p.OutputKind = okPhase;
    p.StepKind = ssLinear;
    p.MaxScale = 12;
    p.WaveletContrast = contrast;
    p.NumColors = 5; // 64 colours: every level its own
    TFixedParameters params(p);
    TRecordingProgress progress;
    EXPECT_TRUE(DoTulvo2D(Waves(36, 44, nudge), dir, params, progress).has_value());
    if (texts)
        *texts = progress.Texts;
    return FrameColours(dir);
}

std::size_t DifferentPixels(const std::vector<std::vector<std::uint32_t>>& a,
                            const std::vector<std::vector<std::uint32_t>>& b)
{
    std::size_t n = 0;
    for (std::size_t f = 0; f < a.size(); ++f)
        for (std::size_t i = 0; i < a[f].size(); ++i)
            n += a[f][i] != b[f][i];
    return n;
}

// "3.фаза" with the Morlet wavelet sums the half circle, 0 to 150 degrees: the orientations
// d + 180 would add the opposite imaginary parts. Its frames show the transform, not stretched
// rounding: a change of the input by one part in 1e12 changes almost no pixel, with and
// without the contrast pass.
TEST_F(TwoDRun, MorletPhaseFramesSumTheHalfCircleAndAreStable)
{
    for (bool contrast : {false, true}) {
        std::vector<std::string> texts;
        const auto frames = PhaseFrames(Dir(), wkMorlet, contrast, false, &texts);
        ASSERT_EQ(frames.size(), 32u);
        ASSERT_EQ(texts.size(), 32u * 6 + 1);
        EXPECT_EQ(texts.front(), "Scale       1.0000  angle  30 ( [ 1 ]/ [ 32 ] ) ");
        EXPECT_EQ(texts[5], "Scale       1.0000  angle 180 ( [ 1 ]/ [ 32 ] ) ");
        EXPECT_EQ(texts[6], "Scale       1.3548  angle  30 ( [ 2 ]/ [ 32 ] ) ");
        EXPECT_EQ(texts[texts.size() - 2], "Scale      12.0000  angle 180 ( [ 32 ]/ [ 32 ] ) ");
        EXPECT_EQ(texts.back(), "O'k");
        EXPECT_EQ(Entries(), (std::vector<std::string>{"RESULT.GIF", "RESULT.TIFF"}));

        std::set<std::uint32_t> colours(frames[3].begin(), frames[3].end());
        EXPECT_GT(colours.size(), 20u) << "a frame shows the transform's detail";
        const auto nudged = PhaseFrames(Dir(), wkMorlet, contrast, true);
        const std::size_t pixels = 32u * frames[0].size();
        EXPECT_LT(DifferentPixels(frames, nudged), pixels / 1000) << "contrast " << contrast;
    }
}

// The Gaussian wavelet is real and even: its response to a real matrix has no imaginary part,
// so its "3.фаза" frames are flat, index 0 (the palette's first colour), and the closing text
// says so.
TEST_F(TwoDRun, GaussianPhaseFramesAreFlatAndTheTextSaysWhy)
{
    for (bool contrast : {false, true}) {
        std::vector<std::string> texts;
        const auto frames = PhaseFrames(Dir(), wkGaussian, contrast, false, &texts);
        ASSERT_EQ(frames.size(), 32u);
        const QList<QRgb> palette = MakePalette64(QuantisedPalette(0, 5));
        const std::uint32_t first = palette[0] & 0xffffff;
        for (const auto& frame : frames)
            for (std::uint32_t c : frame)
                ASSERT_EQ(c, first);
        ASSERT_EQ(texts.size(), 33u);
        EXPECT_EQ(texts.back(),
                  "O'k  (1.Gaussian has no imaginary part: the \"3.фаза\" frames are flat)");
        EXPECT_EQ(DifferentPixels(frames, PhaseFrames(Dir(), wkGaussian, contrast, true)), 0u);
    }
}

// The run reports its work in rows, all of it, and asks whether to stop as it goes; a stop
// ends it with ECancelled, no frames left behind and the earlier results untouched.
class TWorkProgress : public TRecordingProgress {
public:
    std::atomic<std::int64_t> Rows{0};
    std::atomic<std::int64_t> Total{-1};
    std::atomic<int> Checks{0};
    int StopAt = -1;
    void WorkDone(std::int64_t rows, std::int64_t total) override
    {
        Rows += rows;
        Total = total;
    }
    void CheckCancelled() override
    {
        if (++Checks == StopAt)
            throw ECancelled();
    }
};

TEST_F(TwoDRun, ReportsItsWorkAndStopsWhenAsked)
{
    TAnalysisParams p;
    p.WaveletKind = wkMorlet;
    p.StepKind = ssLinear;
    TFixedParameters params(p);
    TWorkProgress progress;
    const TDataTable table = Matrix(24, 32);
    ASSERT_TRUE(DoTulvo2D(table, Dir(), params, progress).has_value());
    EXPECT_EQ(progress.Total, 32 * 12 * 24);
    EXPECT_EQ(progress.Rows, progress.Total.load());
    EXPECT_GE(progress.Checks, 32 * 12);

    WriteText(Dir() + "RESULT.GIF", "earlier gif");
    TWorkProgress stopping;
    stopping.StopAt = 100;
    EXPECT_THROW(DoTulvo2D(table, Dir(), params, stopping), ECancelled);
    EXPECT_LT(stopping.Rows, stopping.Total.load());
    EXPECT_EQ(ReadText(Dir() + "RESULT.GIF"), "earlier gif");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"RESULT.GIF", "RESULT.TIFF"}));
}

} // namespace
