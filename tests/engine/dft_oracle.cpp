#include "tests/engine/dft_oracle.h"

#include <cmath>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

long double BinFrequency(int k, int n)
{
    const int signedBin = 2 * k < n ? k : k - n; // bin n/2 of an even n is -pi
    return 2 * kPi * signedBin / n;
}

std::vector<OracleComplex> Dft(const std::vector<OracleComplex>& x, int sign)
{
    const int n = static_cast<int>(x.size());
    std::vector<OracleComplex> out(x.size(), {0, 0});
    for (int k = 0; k < n; ++k)
        for (int m = 0; m < n; ++m) {
            const long double a = sign * 2 * kPi * ((static_cast<long>(m) * k) % n) / n;
            out[k].re += x[m].re * std::cos(a) - x[m].im * std::sin(a);
            out[k].im += x[m].re * std::sin(a) + x[m].im * std::cos(a);
        }
    return out;
}

} // namespace

std::vector<OracleComplex> OracleFilter(const std::vector<double>& series, const TWave1D& wave,
                                        double scale)
{
    const int n = static_cast<int>(series.size());
    std::vector<OracleComplex> x(series.size());
    for (int j = 0; j < n; ++j)
        x[j] = {series[j], 0};
    std::vector<OracleComplex> spectrum = Dft(x, -1);
    for (int k = 0; k < n; ++k) {
        const TComplex p = wave.Spectrum(static_cast<double>(BinFrequency(k, n) * scale));
        const long double re = spectrum[k].re * p.Re + spectrum[k].im * p.Im;
        const long double im = spectrum[k].im * p.Re - spectrum[k].re * p.Im;
        spectrum[k] = {re, im};
    }
    return Dft(spectrum, +1);
}
