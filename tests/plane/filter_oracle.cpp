#include "tests/plane/filter_oracle.h"

#include <cmath>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Bin k of an n-point DFT as a signed frequency; bin n/2 of an even n is -pi.
long double BinFrequency(int k, int n)
{
    const int signedBin = 2 * k < n ? k : k - n;
    return 2 * kPi * signedBin / n;
}

// Unnormalised 2-D DFT with exp(sign i 2 pi (k r / rows + l c / cols)).
std::vector<OracleComplex> Dft2D(const std::vector<OracleComplex>& x, int rows, int cols,
                                 int sign)
{
    std::vector<OracleComplex> out(x.size());
    for (int k = 0; k < rows; ++k)
        for (int l = 0; l < cols; ++l) {
            OracleComplex sum = 0;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c) {
                    const long double turns = static_cast<long double>((k * r) % rows) / rows +
                                              static_cast<long double>((l * c) % cols) / cols;
                    sum += x[r * cols + c] * std::polar(1.0L, sign * 2 * kPi * turns);
                }
            out[k * cols + l] = sum;
        }
    return out;
}

} // namespace

std::vector<OracleComplex> OracleFilter2D(const std::vector<double>& matrix, int rows, int cols,
                                          const TWave2D& wave, double scale, double angle)
{
    return OracleFilter2D(std::vector<OracleComplex>(matrix.begin(), matrix.end()), rows, cols,
                          wave, scale, angle);
}

std::vector<OracleComplex> OracleFilter2D(const std::vector<OracleComplex>& x, int rows,
                                          int cols, const TWave2D& wave, double scale,
                                          double angle)
{
    std::vector<OracleComplex> spectrum = Dft2D(x, rows, cols, -1);
    const long double cosA = std::cos(static_cast<long double>(angle));
    const long double sinA = std::sin(static_cast<long double>(angle));
    for (int k = 0; k < rows; ++k)
        for (int l = 0; l < cols; ++l) {
            const long double u = BinFrequency(l, cols); // along the columns
            const long double v = BinFrequency(k, rows); // along the rows
            TComplex p;
            wave.Spectrum((cosA * u - sinA * v) * scale, (sinA * u + cosA * v) * scale, p);
            spectrum[k * cols + l] *= OracleComplex(p.Re, p.Im);
        }
    std::vector<OracleComplex> result = Dft2D(spectrum, rows, cols, +1);
    for (OracleComplex& z : result)
        z = z / static_cast<long double>(rows * cols) * static_cast<long double>(scale);
    return result;
}

TComplex ExpectedFilterOutput(OracleComplex z, TFilterOutput output)
{
    const double re = static_cast<double>(z.real());
    const double im = static_cast<double>(z.imag());
    switch (output) {
    case foModulus:
        return {std::hypot(re, im), im};
    case foImagPart:
        return {im, im};
    default:
        return {re, im};
    }
}
