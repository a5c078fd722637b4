#include "tests/plane/filter_oracle.h"
#include "tests/plane/plane_fixtures.h"

#include "engine/fp_checkpoint.h"
#include "plane/half_kernel.h"

#include <climits>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Shape {
    int rows, cols;
};

struct WaveletChoice {
    const char* name;
    std::shared_ptr<TWave2D> wave;
};

// Every kind, scales below and above 1, with and without rotation, every output, on planes
// with one row, one column or both odd and even sides: the FFT path must agree with the
// direct DFT to 1e-9 of the plane's largest value. One filter serves all its filterings, so
// each later one also shows that the spectrum cache holds the matrix as loaded.
TEST(BitmapFilter, AgreesWithDirectEvaluation)
{
    const WaveletChoice wavelets[] = {
        {"morlet", std::make_shared<TMorlet2D>(6, 1)},
        {"sqdog", std::make_shared<TSQDog2D>(1.25L)},
        {"gaussz", std::make_shared<TGaussz2D>(1, 1)},
        {"gaussz order 2", std::make_shared<TGaussz2D>(2, 0.7L)},
    };
    const TFilterOutput outputs[] = {foModulus, foRealPart, foImagPart};
    for (Shape s : {Shape{3, 5}, Shape{4, 4}, Shape{1, 8}, Shape{6, 1}, Shape{1, 1}}) {
        const std::vector<double> matrix = RandomMatrix(s.rows, s.cols, 7u * s.rows + s.cols);
        TBitmapFilter filter(s.rows, s.cols);
        LoadMatrix(filter, matrix);
        for (const WaveletChoice& w : wavelets)
            for (double scale : {0.6, 1.0, 2.5})
                for (double angle : {0.0, 0.7, -2.2}) {
                    const auto want = OracleFilter2D(matrix, s.rows, s.cols, *w.wave, scale, angle);
                    long double peak = 0;
                    for (const OracleComplex& z : want)
                        peak = std::fmax(peak, std::abs(z));
                    const double tolerance = 1e-9 * static_cast<double>(peak);
                    for (TFilterOutput output : outputs) {
                        filter.Filter(*w.wave, output, scale, angle);
                        for (std::size_t i = 0; i < filter.Count(); ++i) {
                            const TComplex e = ExpectedFilterOutput(want[i], output);
                            const TComplex got = filter.Work()[i];
                            EXPECT_NEAR(got.Re, e.Re, tolerance)
                                << w.name << " " << s.rows << "x" << s.cols << " scale " << scale
                                << " angle " << angle << " output " << output << " at " << i;
                            EXPECT_NEAR(got.Im, e.Im, tolerance)
                                << w.name << " " << s.rows << "x" << s.cols << " scale " << scale
                                << " angle " << angle << " output " << output << " at " << i;
                        }
                    }
                }
    }
}

class TUnitWave final : public TWave2D {
public:
    void Spectrum(long double, long double, TComplex& Result) const override { Result = {1, 0}; }
};

// A wavelet that passes everything returns the loaded matrix: the FFT pair's factor is undone.
TEST(BitmapFilter, PassingEverythingReturnsTheMatrix)
{
    for (Shape s : {Shape{1, 1}, Shape{1, 7}, Shape{4, 6}, Shape{5, 1}}) {
        const std::vector<double> matrix = RandomMatrix(s.rows, s.cols, 3u);
        TBitmapFilter filter(s.rows, s.cols);
        LoadMatrix(filter, matrix);
        filter.Filter(TUnitWave(), foRealPart, 1.0, 0.0);
        for (std::size_t i = 0; i < filter.Count(); ++i) {
            EXPECT_NEAR(filter.Work()[i].Re, matrix[i], 1e-14) << s.rows << "x" << s.cols;
            EXPECT_NEAR(filter.Work()[i].Im, 0.0, 1e-14) << s.rows << "x" << s.cols;
        }
    }
}

// Whatever happens to Work after the first filtering, the same filtering gives the same plane,
// and Work stays where callers found it.
TEST(BitmapFilter, LaterFilteringsStartFromTheLoadedMatrix)
{
    TBitmapFilter filter(6, 9);
    LoadMatrix(filter, RandomMatrix(6, 9, 11u));
    const TComplex* work = filter.Work();
    const TMorlet2D morlet(6, 1);
    filter.Filter(morlet, foModulus, 2.0, 0.5);
    EXPECT_EQ(filter.Work(), work);
    const std::vector<double> first = RealParts(filter);
    filter.NormalizeLog();
    for (std::size_t i = 0; i < filter.Count(); ++i)
        filter.Work()[i] = {42.0, -1.0};
    filter.Filter(morlet, foModulus, 2.0, 0.5);
    EXPECT_EQ(RealParts(filter), first);
}

// A plane large enough to be shared between the cores gives, bit for bit, what the kernels
// give over the whole plane in one piece.
TEST(BitmapFilter, SharedWorkGivesTheOnePieceResult)
{
    const int rows = 160, cols = 300;
    const std::vector<double> matrix = RandomMatrix(rows, cols, 5u);
    TBitmapFilter filter(rows, cols);
    LoadMatrix(filter, matrix);
    const TMorlet2D morlet(6, 1);
    filter.Filter(morlet, foModulus, 3.0, 0.9);

    const std::size_t half = HalfSpectrumCount(rows, cols, "the test"), padded = PaddedCols(cols);
    ComplexBuffer spectrum = AllocateComplex(half, "the test");
    ComplexBuffer re = AllocateComplex(half, "the test"), im = AllocateComplex(half, "the test");
    for (std::size_t i = 0; i < filter.Count(); ++i)
        RealRows(spectrum.get())[i / cols * padded + i % cols] = matrix[i];
    THalfSpectrumPlan(rows, cols, FftDirection::Forward).Execute(spectrum.get());
    const std::vector<double> kx = AngularFrequencies(cols), ky = AngularFrequencies(rows);
    std::vector<double> scratch(4 * HalfCols(cols));
    MultiplyHalfSpectrum(*MakeHalfKernel(morlet, kx, ky, 3.0, 0.9), HalfCols(cols),
                         spectrum.get(), nullptr, re.get(), im.get(), 0, rows, scratch.data());
    const THalfSpectrumPlan inverse(rows, cols, FftDirection::Backward);
    inverse.Execute(re.get());
    inverse.Execute(im.get());
    std::vector<TComplex> plane(filter.Count());
    for (std::size_t i = 0; i < filter.Count(); ++i) {
        const std::size_t at = i / cols * padded + i % cols;
        plane[i] = {RealRows(re.get())[at], RealRows(im.get())[at]};
    }
    FinishFilterOutput(foModulus, filter.Count(), 3.0, plane.data(), 0, filter.Count());
    for (std::size_t i = 0; i < filter.Count(); ++i) {
        ASSERT_EQ(filter.Work()[i].Re, plane[i].Re) << i;
        ASSERT_EQ(filter.Work()[i].Im, plane[i].Im) << i;
    }
}

struct NormalisationCase {
    const char* what;
    std::function<void(TBitmapFilter&)> onPlane;
    std::function<void(std::vector<double>&)> onArray;
};

// Each normalisation is the engine's routine on the real parts, and leaves no imaginary part.
TEST(BitmapFilter, NormalisationsWorkOnTheRealParts)
{
    const NormalisationCase cases[] = {
        {"minmax", [](TBitmapFilter& f) { f.NormalizeMinMax(); },
         [](std::vector<double>& v) { NormalizeMinMax(v); }},
        {"log", [](TBitmapFilter& f) { f.NormalizeLog(); },
         [](std::vector<double>& v) { NormalizeLog(v); }},
        {"stddev", [](TBitmapFilter& f) { f.NormalizeStdDev(); },
         [](std::vector<double>& v) { NormalizeStdDev(v); }},
        {"clip 1.5", [](TBitmapFilter& f) { f.ClipNormalize(1.5L); },
         [](std::vector<double>& v) { ClipNormalize(v, 1.5L); }},
    };
    const std::vector<double> re = RandomMatrix(3, 5, 5u);
    const std::vector<double> im = RandomMatrix(3, 5, 6u);
    for (const NormalisationCase& c : cases) {
        TBitmapFilter filter(3, 5);
        for (std::size_t i = 0; i < filter.Count(); ++i)
            filter.Work()[i] = {re[i] * 10 - 3, im[i] + 1};
        std::vector<double> want = RealParts(filter);
        const TSeriesStats stats = filter.Stats();
        EXPECT_EQ(stats.Mean, SeriesStats(want).Mean) << c.what;
        EXPECT_EQ(stats.StdDev, SeriesStats(want).StdDev) << c.what;
        c.onPlane(filter);
        c.onArray(want);
        EXPECT_EQ(RealParts(filter), want) << c.what;
        for (std::size_t i = 0; i < filter.Count(); ++i)
            EXPECT_EQ(filter.Work()[i].Im, 0.0) << c.what << " at " << i;
    }
}

struct FaultCase {
    const char* what;
    int rows, cols;
    std::function<void(TBitmapFilter&)> operation;
    const char* kind; // nullptr: no fault
};

// A 1 x 1 plane has no standard deviation and a wavelet parameter can divide by zero: both end
// in the fault at the filter's checkpoint, never in NaN pixels. Operations that are sound on
// one element pass.
TEST(BitmapFilter, FaultsEndAtTheCheckpoint)
{
    const TGaussz2D gradient(1, 1);
    const FaultCase cases[] = {
        {"stats of one element", 1, 1, [](TBitmapFilter& f) { f.Stats(); }, "EInvalidOp"},
        {"stddev of one element", 1, 1, [](TBitmapFilter& f) { f.NormalizeStdDev(); },
         "EInvalidOp"},
        {"clip of one element", 1, 1, [](TBitmapFilter& f) { f.ClipNormalize(3.5L); },
         "EInvalidOp"},
        {"dog with alpha 0", 4, 4,
         [](TBitmapFilter& f) { f.Filter(TSQDog2D(0), foRealPart, 1, 0); }, "EZeroDivide"},
        {"filter and minmax of one element", 1, 1,
         [&](TBitmapFilter& f) {
             f.Filter(gradient, foModulus, 1, 0);
             f.NormalizeMinMax();
             f.NormalizeLog();
         },
         nullptr},
    };
    for (const FaultCase& c : cases) {
        TBitmapFilter filter(c.rows, c.cols);
        LoadMatrix(filter, RandomMatrix(c.rows, c.cols, 1u));
        ClearFpFaults();
        try {
            c.operation(filter);
            EXPECT_EQ(c.kind, nullptr) << c.what << ": no fault reported";
        } catch (const TulvoError& e) {
            ASSERT_NE(c.kind, nullptr) << c.what << ": " << e.what();
            EXPECT_EQ(e.kind(), c.kind) << c.what;
        }
    }
}

// Impossible sizes end with a clear error before anything is allocated or planned.
TEST(BitmapFilter, RefusesImpossibleSizes)
{
    EXPECT_THROW(TBitmapFilter(0, 5), std::invalid_argument);
    EXPECT_THROW(TBitmapFilter(5, -1), std::invalid_argument);
    EXPECT_THROW(TBitmapFilter(INT_MAX, INT_MAX), EOutOfMemory); // bytes overflow size_t
    EXPECT_THROW(TBitmapFilter(1 << 20, 1 << 20), EOutOfMemory); // 16 TiB
}

} // namespace
