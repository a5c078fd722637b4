// The filter's real-data path: the half spectrum, the Hermitian and anti-Hermitian parts of
// the wavelets, the fused orientations of the 2-D command and their passes, each checked
// against the direct DFT or against the operations one after another.
#include "tests/plane/filter_oracle.h"
#include "tests/plane/plane_fixtures.h"

#include "engine/fp_checkpoint.h"
#include "plane/contrast.h"
#include "plane/half_kernel.h"
#include "plane/plane_passes.h"

#include <atomic>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>

namespace {

struct Shape {
    int rows, cols;
};

std::string Name(Shape s) { return std::to_string(s.rows) + "x" + std::to_string(s.cols); }

struct WaveletChoice {
    const char* name;
    std::shared_ptr<TWave2D> wave;
};

// Every kind and each separable form, a wide Morlet band that reaches the middle (Nyquist)
// row and column, and a sampled wavelet (order 2).
const WaveletChoice kWavelets[] = {
    {"morlet", std::make_shared<TMorlet2D>(6, 1)},
    {"wide morlet", std::make_shared<TMorlet2D>(2.5, 0.4)},
    {"sqdog", std::make_shared<TSQDog2D>(1.25L)},
    {"gaussz", std::make_shared<TGaussz2D>(1, 1)},
    {"narrow gaussz", std::make_shared<TGaussz2D>(1, 0.6L)},
    {"gaussz order 2", std::make_shared<TGaussz2D>(2, 0.7L)},
};

// Even and odd sides in every combination, and sides of 1 and 2 (every bin its own mirror).
const Shape kShapes[] = {{2, 2}, {2, 3}, {3, 2}, {5, 4}, {4, 7}, {6, 6},
                         {8, 5}, {7, 9}, {1, 2}, {2, 1}, {10, 8}};

double Peak(const std::vector<OracleComplex>& z)
{
    long double peak = 0;
    for (const OracleComplex& v : z)
        peak = std::fmax(peak, std::abs(v));
    return static_cast<double>(peak);
}

void ExpectFilterMatches(TBitmapFilter& filter, const std::vector<OracleComplex>& want,
                         const WaveletChoice& w, Shape s, double scale, double angle,
                         const std::string& what)
{
    const double tolerance = 1e-9 * Peak(want);
    for (TFilterOutput output : {foModulus, foRealPart, foImagPart}) {
        filter.Filter(*w.wave, output, scale, angle);
        for (std::size_t i = 0; i < filter.Count(); ++i) {
            const TComplex e = ExpectedFilterOutput(want[i], output);
            const TComplex got = filter.Work()[i];
            ASSERT_NEAR(got.Re, e.Re, tolerance) << what << " " << w.name << " " << Name(s)
                                                 << " scale " << scale << " angle " << angle
                                                 << " output " << output << " at " << i;
            ASSERT_NEAR(got.Im, e.Im, tolerance) << what << " " << w.name << " " << Name(s)
                                                 << " scale " << scale << " angle " << angle
                                                 << " output " << output << " at " << i;
        }
    }
}

// The c2r path at every shape, each output, angles 0, 0.7 and -2.2: within 1e-9 of the
// plane's largest value of the direct DFT.
TEST(HalfSpectrum, FilterAgreesWithDirectEvaluationOnEveryShape)
{
    for (Shape s : kShapes) {
        const std::vector<double> matrix = RandomMatrix(s.rows, s.cols, 11u * s.rows + s.cols);
        TBitmapFilter filter(s.rows, s.cols);
        LoadMatrix(filter, matrix);
        for (const WaveletChoice& w : kWavelets)
            for (double scale : {0.6, 2.0})
                for (double angle : {0.0, 0.7, -2.2})
                    ExpectFilterMatches(
                        filter, OracleFilter2D(matrix, s.rows, s.cols, *w.wave, scale, angle), w,
                        s, scale, angle, "real plane");
    }
}

// A plane loaded with imaginary parts keeps them: its imaginary part has a half spectrum of
// its own.
TEST(HalfSpectrum, ComplexPlanesAgreeWithDirectEvaluation)
{
    for (Shape s : {Shape{4, 6}, Shape{5, 3}, Shape{1, 4}, Shape{3, 1}}) {
        const std::vector<double> re = RandomMatrix(s.rows, s.cols, 3u);
        const std::vector<double> im = RandomMatrix(s.rows, s.cols, 4u);
        std::vector<OracleComplex> plane;
        TBitmapFilter filter(s.rows, s.cols);
        for (std::size_t i = 0; i < filter.Count(); ++i) {
            filter.Work()[i] = {re[i], im[i] - 0.5};
            plane.emplace_back(re[i], im[i] - 0.5);
        }
        for (const WaveletChoice& w : kWavelets)
            for (double angle : {0.0, 0.7, -2.2})
                ExpectFilterMatches(filter,
                                    OracleFilter2D(plane, s.rows, s.cols, *w.wave, 1.5, angle),
                                    w, s, 1.5, angle, "complex plane");
    }
}

// The kernels' own product with a real plane's spectrum is, value for value, the product
// through their rows of E and O (reached here with an imaginary spectrum of zeros).
TEST(HalfSpectrum, FastProductsEqualTheProductsThroughTheRows)
{
    for (Shape s : {Shape{6, 8}, Shape{7, 5}}) {
        const std::size_t halfCols = HalfCols(s.cols);
        const std::size_t count = s.rows * halfCols;
        const std::vector<double> re = RandomMatrix(s.rows, 2 * halfCols, 9u);
        std::vector<TComplex> a(count), zeros(count, TComplex{0.0, 0.0});
        for (std::size_t i = 0; i < count; ++i)
            a[i] = {re[2 * i] - 0.5, re[2 * i + 1] - 0.5};
        const std::vector<double> kx = AngularFrequencies(s.cols), ky = AngularFrequencies(s.rows);
        std::vector<double> scratch(4 * halfCols);
        for (const WaveletChoice& w : kWavelets)
            for (double angle : {0.0, 0.7}) {
                const auto kernel = MakeHalfKernel(*w.wave, kx, ky, 1.7, angle);
                std::vector<TComplex> fastRe(count), fastIm(count), rowRe(count), rowIm(count);
                MultiplyHalfSpectrum(*kernel, halfCols, a.data(), nullptr, fastRe.data(),
                                     fastIm.data(), 0, s.rows, scratch.data());
                MultiplyHalfSpectrum(*kernel, halfCols, a.data(), zeros.data(), rowRe.data(),
                                     rowIm.data(), 0, s.rows, scratch.data());
                // The real part may replace the spectrum it is made from.
                std::vector<TComplex> inPlace = a, inPlaceIm(count);
                MultiplyHalfSpectrum(*kernel, halfCols, inPlace.data(), nullptr, inPlace.data(),
                                     inPlaceIm.data(), 0, s.rows, scratch.data());
                for (std::size_t i = 0; i < count; ++i) {
                    EXPECT_EQ(fastRe[i].Re, rowRe[i].Re) << w.name << " at " << i;
                    EXPECT_EQ(fastRe[i].Im, rowRe[i].Im) << w.name << " at " << i;
                    EXPECT_EQ(fastIm[i].Re, rowIm[i].Re) << w.name << " at " << i;
                    EXPECT_EQ(fastIm[i].Im, rowIm[i].Im) << w.name << " at " << i;
                    EXPECT_EQ(inPlace[i].Re, rowRe[i].Re) << w.name << " in place at " << i;
                    EXPECT_EQ(inPlace[i].Im, rowRe[i].Im) << w.name << " in place at " << i;
                    EXPECT_EQ(inPlaceIm[i].Re, rowIm[i].Re) << w.name << " in place at " << i;
                    EXPECT_EQ(inPlaceIm[i].Im, rowIm[i].Im) << w.name << " in place at " << i;
                }
            }
    }
}

// The engine's normalisation of the 2-D command's kind (see NormalisePlane).
void Normalise(std::vector<double>& v, int kind)
{
    switch (kind) {
    case 0:
        NormalizeLog(v);
        break;
    case 1:
    case 2:
        NormalizeMinMax(v);
        break;
    case 3:
        NormalizeStdDev(v);
        break;
    default:
        break;
    }
}

std::vector<double> Part(const std::vector<OracleComplex>& z, TFilterOutput output)
{
    std::vector<double> v;
    for (const OracleComplex& x : z)
        v.push_back(static_cast<double>(output == foImagPart ? x.imag() : x.real()));
    return v;
}

// The contrast pass by the direct DFT: the gradient magnitude of the plane (v, im) smoothed
// by the unit Gaussian, clipped at 3.5 standard deviations.
void OracleContrast(std::vector<double>& v, const std::vector<double>& im, Shape s)
{
    std::vector<OracleComplex> plane;
    for (std::size_t i = 0; i < v.size(); ++i)
        plane.emplace_back(v[i], im[i]);
    const std::vector<OracleComplex> g =
        OracleFilter2D(plane, s.rows, s.cols, TGaussz2D(1, 1), 1, 0);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<double>(std::abs(g[i]));
    ClipNormalize(v, 3.5L);
}

// One fused orientation is, within 1e-9, the direct DFT's plane put through the engine's
// normalisation, the contrast pass and the clipping: for every normalisation, both output
// parts, with and without the pass. Without a normalisation the pass sees the imaginary
// part too, as the filter leaves it beside the output.
TEST(FusedOrientations, AgreeWithDirectEvaluation)
{
    for (Shape s : {Shape{6, 8}, Shape{7, 5}}) {
        const std::vector<double> matrix = RandomMatrix(s.rows, s.cols, 21u);
        TBitmapFilter filter(s.rows, s.cols);
        LoadMatrix(filter, matrix);
        const TContrastKernel kernel(s.rows, s.cols);
        for (const WaveletChoice& w : {kWavelets[0], kWavelets[1], kWavelets[2]})
            for (TFilterOutput output : {foRealPart, foImagPart})
                for (int kind : {0, 1, 3, -1})
                    for (bool contrast : {false, true}) {
                        if (output == foImagPart && w.wave.get() == kWavelets[2].wave.get())
                            continue; // zero: the flat planes are their own test
                        const double scale = 1.3, angle = 0.7;
                        const std::vector<OracleComplex> filtered =
                            OracleFilter2D(matrix, s.rows, s.cols, *w.wave, scale, angle);
                        std::vector<double> want = Part(filtered, output);
                        std::vector<double> im = Part(filtered, foImagPart);
                        Normalise(want, kind);
                        if (kind >= 0 && kind <= 3)
                            im.assign(im.size(), 0.0);
                        if (contrast)
                            OracleContrast(want, im, s);
                        ClipNormalize(want, 3.5L);

                        TBitmapFilter::TOrientation o{scale, angle, kind,
                                                      contrast ? &kernel : nullptr};
                        filter.ResetAccumulator();
                        filter.FilterOrientations(*w.wave, output, &o, 1, nullptr, 0);
                        filter.AccumulateOrientations(0, 1, true);
                        const std::string what = std::string(w.name) + " " + Name(s) +
                                                 " output " + std::to_string(output) +
                                                 " kind " + std::to_string(kind) +
                                                 (contrast ? " contrast" : "");
                        for (std::size_t i = 0; i < want.size(); ++i)
                            ASSERT_NEAR(filter.SumsRe()[i], want[i], 1e-9) << what << " at " << i;
                    }
    }
}

// Two fused orientations side by side add to the sum what the operations one after another
// add, and the sum's statistics measured on the way are those of the sum.
TEST(FusedOrientations, SumWhatTheOperationsOneAfterAnotherSum)
{
    const Shape s{40, 56};
    const std::vector<double> matrix = RandomMatrix(s.rows, s.cols, 8u);
    const TMorlet2D morlet(6, 1);
    const TContrastKernel kernel(s.rows, s.cols);
    for (TFilterOutput output : {foRealPart, foImagPart})
        for (int kind : {0, 1, 2, 3, 7})
            for (bool contrast : {false, true}) {
                const std::string what = "output " + std::to_string(output) + " kind " +
                                         std::to_string(kind) + (contrast ? " contrast" : "");
                TBitmapFilter stepwise(s.rows, s.cols);
                LoadMatrix(stepwise, matrix);
                stepwise.ResetAccumulator();
                const double angles[2] = {0.0, 0.5235987755982988};
                for (double angle : angles) {
                    stepwise.Filter(morlet, output, 2.5, angle);
                    switch (kind) {
                    case 0: stepwise.NormalizeLog(); break;
                    case 1: case 2: stepwise.NormalizeMinMax(); break;
                    case 3: stepwise.NormalizeStdDev(); break;
                    default: break;
                    }
                    if (contrast)
                        ContrastPass(stepwise, kernel);
                    stepwise.ClipNormalize(3.5L);
                    stepwise.Accumulate(1.0);
                }

                TBitmapFilter fused(s.rows, s.cols);
                LoadMatrix(fused, matrix);
                fused.ResetAccumulator();
                const TBitmapFilter::TOrientation o[2] = {
                    {2.5, angles[0], kind, contrast ? &kernel : nullptr},
                    {2.5, angles[1], kind, contrast ? &kernel : nullptr}};
                fused.FilterOrientations(morlet, output, o, 2, nullptr, 0);
                fused.AccumulateOrientations(0, 2, true);

                std::vector<double> sums(stepwise.SumsRe(), stepwise.SumsRe() + stepwise.Count());
                for (std::size_t i = 0; i < sums.size(); ++i)
                    ASSERT_NEAR(fused.SumsRe()[i], sums[i], 1e-11) << what << " at " << i;
                EXPECT_EQ(fused.SumsIm(), nullptr) << what;
                const TSeriesStats want = SeriesStats(sums), got = fused.SumStats();
                auto d = [](long double x) { return static_cast<double>(x); };
                EXPECT_NEAR(d(got.Mean), d(want.Mean), 1e-12) << what;
                EXPECT_NEAR(d(got.StdDev), d(want.StdDev), 1e-12) << what;
                EXPECT_NEAR(d(got.MaxValue), d(want.MaxValue), 1e-11) << what;
                EXPECT_NEAR(d(got.MinValue), d(want.MinValue), 1e-11) << what;
            }
}

// The response of an even wavelet to a real plane is real: its imaginary part is exactly 0,
// so every fused plane of it is 0, not stretched rounding noise.
TEST(FusedOrientations, ImaginaryPartOfAnEvenWaveletIsExactlyZero)
{
    const Shape s{9, 12};
    TBitmapFilter filter(s.rows, s.cols);
    LoadMatrix(filter, RandomMatrix(s.rows, s.cols, 2u));
    const TContrastKernel kernel(s.rows, s.cols);
    for (bool contrast : {false, true}) {
        const TBitmapFilter::TOrientation o{3.0, 0.0, 1, contrast ? &kernel : nullptr};
        filter.ResetAccumulator();
        filter.FilterOrientations(TSQDog2D(1.25L), foImagPart, &o, 1, nullptr, 0);
        filter.AccumulateOrientations(0, 1, true);
        for (std::size_t i = 0; i < filter.Count(); ++i)
            ASSERT_EQ(filter.SumsRe()[i], 0.0) << i;
    }
}

// Progress hears of every orientation's rows, stage by stage, from the lanes' threads, and a
// stop asked for ends the orientations at the next stage.
class TCountingProgress : public TCommandProgress {
public:
    std::atomic<std::int64_t> Rows{0};
    std::atomic<int> Checks{0};
    int StopAfterChecks = -1;
    void SetStatusText(const std::string&) override {}
    void ProcessPendingMessages() override {}
    void WorkDone(std::int64_t rows, std::int64_t total) override
    {
        Rows += rows;
        EXPECT_EQ(total, 1000);
    }
    void CheckCancelled() override
    {
        if (++Checks == StopAfterChecks)
            throw ECancelled();
    }
};

TEST(FusedOrientations, ReportEveryRowAndStopWhenAsked)
{
    const Shape s{64, 80};
    TBitmapFilter filter(s.rows, s.cols);
    LoadMatrix(filter, RandomMatrix(s.rows, s.cols, 5u));
    const TContrastKernel kernel(s.rows, s.cols);
    const TBitmapFilter::TOrientation o[2] = {{2.0, 0.0, 0, &kernel}, {2.0, 0.5, 0, nullptr}};
    TCountingProgress progress;
    filter.FilterOrientations(TMorlet2D(6, 1), foRealPart, o, 2, &progress, 1000);
    EXPECT_EQ(progress.Rows, 2 * s.rows);
    EXPECT_EQ(progress.Checks, 4 + 3); // one before every stage

    TCountingProgress stopping;
    stopping.StopAfterChecks = 2;
    EXPECT_THROW(filter.FilterOrientations(TMorlet2D(6, 1), foRealPart, o, 2, &stopping, 1000),
                 ECancelled);
    EXPECT_LT(stopping.Rows, 2 * s.rows);
}

TEST(FusedOrientations, RefuseWhatTheyCannotDo)
{
    TBitmapFilter filter(4, 5);
    LoadMatrix(filter, RandomMatrix(4, 5, 1u));
    const TBitmapFilter::TOrientation o[3] = {};
    const TMorlet2D morlet(6, 1);
    EXPECT_THROW(filter.FilterOrientations(morlet, foRealPart, o, 3, nullptr, 0),
                 std::invalid_argument);
    EXPECT_THROW(filter.FilterOrientations(morlet, foModulus, o, 1, nullptr, 0),
                 std::invalid_argument);
    const TContrastKernel other(5, 4);
    const TBitmapFilter::TOrientation wrong{1.0, 0.0, 1, &other};
    EXPECT_THROW(filter.FilterOrientations(morlet, foRealPart, &wrong, 1, nullptr, 0),
                 std::invalid_argument);
}

// A wavelet parameter that divides by zero ends the orientations at their checkpoint, from
// either lane's thread.
TEST(FusedOrientations, FaultsEndAtTheCheckpoint)
{
    TBitmapFilter filter(40, 50);
    LoadMatrix(filter, RandomMatrix(40, 50, 1u));
    const TBitmapFilter::TOrientation o[2] = {{1.0, 0.0, 1, nullptr}, {2.0, 0.0, 1, nullptr}};
    ClearFpFaults();
    EXPECT_THROW(filter.FilterOrientations(TSQDog2D(0), foRealPart, o, 2, nullptr, 0),
                 EZeroDivide);
}

// The statistics of the passes: rows added one by one, or gathered by shares and added in
// order, give the engine's extended statistics within rounding, also for values far from 0.
TEST(PlanePasses, MomentsAgreeWithTheEngineStatistics)
{
    std::mt19937 gen(3);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (double offset : {0.0, 1e6, -3.5}) {
        std::vector<double> v(257 * 33);
        for (double& x : v)
            x = offset + noise(gen);
        TMoments whole, first, second;
        for (std::size_t r = 0; r < 33; ++r) {
            whole.AddRow(v.data() + r * 257, 257);
            (r < 20 ? first : second).AddRow(v.data() + r * 257, 257);
        }
        first.Add(second);
        const TSeriesStats want = SeriesStats(v);
        for (const TMoments* m : {&whole, &first}) {
            const TSeriesStats got = m->Stats();
            EXPECT_NEAR(static_cast<double>(got.Mean), static_cast<double>(want.Mean),
                        1e-13 * (1 + std::fabs(offset)));
            EXPECT_NEAR(static_cast<double>(got.StdDev), static_cast<double>(want.StdDev), 1e-12);
            EXPECT_EQ(got.MaxValue, want.MaxValue);
            EXPECT_EQ(got.MinValue, want.MinValue);
        }
    }
    TMoments one;
    const double x = 0.5;
    one.AddRow(&x, 1);
    ClearFpFaults();
    EXPECT_TRUE(std::isnan(static_cast<double>(one.Stats().StdDev)));
    EXPECT_THROW(CheckFpFaults(), EInvalidOp);
}

// The vectorisable logarithm is within one unit in the last place of the exact one over the
// range NormalizeLog takes it, and exact at 1.
TEST(PlanePasses, LogarithmWithinOneUnitInTheLastPlace)
{
    std::mt19937_64 gen(17);
    std::uniform_real_distribution<double> exponent(-100 * std::log(10.0), 0.0);
    std::uniform_real_distribution<double> nearOne(0.5, 1.0);
    double worst = 0;
    for (int k = 0; k < 200000; ++k) {
        const double x = k % 2 ? std::exp(exponent(gen)) : nearOne(gen);
        const long double exact = std::log(static_cast<long double>(x));
        const double got = LogOfNormal(x);
        const double ulp = std::nextafter(std::fabs(static_cast<double>(exact)), INFINITY) -
                           std::fabs(static_cast<double>(exact));
        if (exact != 0)
            worst = std::fmax(worst, static_cast<double>(std::fabs(got - exact)) / ulp);
    }
    EXPECT_LE(worst, 1.0);
    EXPECT_EQ(LogOfNormal(1.0), 0.0);
    EXPECT_EQ(LogOfNormal(0.5), -std::log(2.0));
}

} // namespace
