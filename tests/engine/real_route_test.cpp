// The rows of the real route (r2c once, c2r of the even part for the real part, of the odd
// part for the imaginary part) against the direct evaluation, for odd and even lengths, and at
// scales where most of the wavelet's band underflows to zero and is skipped.
#include "tests/engine/dft_oracle.h"
#include "engine/transformer1d.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct TRouteCase {
    const char* name;
    std::shared_ptr<TWave1D> wave;
    bool phase;
};

TEST(RealRoute, RowsAgreeWithDirectEvaluation)
{
    const TRouteCase cases[] = {
        {"morlet real part", std::make_shared<TMorlet1D>(6, 1), false},
        {"morlet phase (two c2r)", std::make_shared<TMorlet1D>(6, 1), true},
        {"narrow morlet phase", std::make_shared<TMorlet1D>(3, 4), true},
        {"dog real part", std::make_shared<TSDog1D>(1.25), false},
        {"dog with alpha below 1", std::make_shared<TSDog1D>(0.8), false},
    };
    std::mt19937 gen(29);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int n : {1, 2, 3, 127, 128}) {
        std::vector<double> series(static_cast<std::size_t>(n));
        for (double& x : series)
            x = dist(gen);
        const T1WaveTransformer transformer(n);
        ComplexBuffer buf = transformer.NewBuffer();
        std::vector<double> row(static_cast<std::size_t>(n));
        for (const TRouteCase& c : cases)
            for (double scale : {0.5, 3.0, 40.0, 2000.0, -7.0}) {
                TransformRow(transformer, *c.wave, series.data(), scale, true, c.phase,
                             buf.get(), row.data());
                const std::vector<OracleComplex> ref = OracleFilter(series, *c.wave, scale);
                double largest = 0;
                for (const OracleComplex& z : ref)
                    largest = std::fmax(largest, std::hypot(double(z.re), double(z.im)));
                for (int j = 0; j < n; ++j) {
                    const double re = static_cast<double>(ref[j].re);
                    const double im = static_cast<double>(ref[j].im);
                    if (!c.phase) {
                        EXPECT_NEAR(row[j], re, 1e-9 * std::fmax(largest, 1e-300))
                            << c.name << " n=" << n << " scale " << scale << " sample " << j;
                        continue;
                    }
                    if (std::hypot(re, im) < 1e-6 * largest)
                        continue; // the phase of rounding noise means nothing
                    double d = std::remainder(row[j] - std::atan2(im, re), 2 * kPi);
                    EXPECT_NEAR(d, 0, 1e-9)
                        << c.name << " n=" << n << " scale " << scale << " sample " << j;
                }
            }
    }
}

std::vector<double> Rows(const T1WaveTransformer& transformer, const TWave1D& wave,
                         const std::vector<double>& series, const std::vector<double>& scales,
                         bool phase, const TRowWeights* weights)
{
    std::vector<double> coefs(scales.size() * series.size());
    TRowsRequest request;
    request.Series = series.data();
    request.Scales = &scales;
    request.Phase = phase;
    request.Weights = weights;
    request.Coefs = coefs.data();
    TransformRows(transformer, wave, request);
    return coefs;
}

// Weights made once for many series give the rows bit for bit; weights of other scales are
// not used, nor are any on the complex route (the phase of the difference of Gaussians).
TEST(RowWeights, RowsAreBitForBitThoseMadeWithout)
{
    const TRouteCase cases[] = {
        {"morlet", std::make_shared<TMorlet1D>(6, 1), false},
        {"morlet phase", std::make_shared<TMorlet1D>(6, 1), true},
        {"dog", std::make_shared<TSDog1D>(1.25), false},
        {"dog phase (complex route)", std::make_shared<TSDog1D>(1.25), true},
    };
    const std::vector<double> scales{0.5, 3.0, 40.0, 2000.0, -7.0};
    const std::vector<double> others{0.5, 3.0, 41.0, 2000.0, -7.0};
    // 2501: more bins than a block of the weighting; 6001: three blocks, so that at the large
    // scales the last one lies past a block of zeros and is not evaluated without weights.
    for (int n : {3, 128, 2501, 6001}) {
        std::vector<double> series(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j)
            series[static_cast<std::size_t>(j)] = std::sin(0.3 * j) + 0.01 * j;
        const T1WaveTransformer transformer(n);
        for (const TRouteCase& c : cases) {
            const std::vector<double> want = Rows(transformer, *c.wave, series, scales, c.phase,
                                                  nullptr);
            const TRowWeights own(transformer, *c.wave, scales);
            const TRowWeights ofOthers(transformer, *c.wave, others);
            EXPECT_TRUE(own.Serve(scales)) << c.name;
            EXPECT_FALSE(ofOthers.Serve(scales)) << c.name;
            for (const TRowWeights* weights : {&own, &ofOthers}) {
                const std::vector<double> got =
                    Rows(transformer, *c.wave, series, scales, c.phase, weights);
                EXPECT_EQ(std::memcmp(got.data(), want.data(), want.size() * sizeof(double)), 0)
                    << c.name << " n=" << n;
            }
        }
    }
}

} // namespace
