#include "plane/half_kernel.h"

#include "engine/vector_clones.h"

#include <algorithm>
#include <cmath>

// The wavelets are evaluated in double, from exponentials of one frequency each. Their own
// evaluation forms whole exponents in extended precision; the products here agree with it
// within a few units in the last place, far inside what the frames can show, and cost a few
// exponentials per row and column instead of an extended one per bin. Wherever an
// exponential underflows a factor is exactly 0, and so is every bin it multiplies, so rows
// and columns far from the pass band are skipped.

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559005768;

// The mirror of bin k of an n-point transform: the bin of the negated frequency index.
inline std::size_t Mirror(std::size_t k, std::size_t n) { return k == 0 ? 0 : n - k; }

// f over the half spectrum's columns and at their mirrors.
template <typename Factor>
void SampleColumns(const std::vector<double>& Kx, const Factor& f, std::vector<double>& u,
                   std::vector<double>& um)
{
    const std::size_t cols = Kx.size(), halfCols = cols / 2 + 1;
    u.resize(halfCols);
    um.resize(halfCols);
    for (std::size_t c = 0; c < halfCols; ++c) {
        u[c] = f(Kx[c]);
        um[c] = f(Kx[Mirror(c, cols)]);
    }
}

// f over the rows and at their mirrors.
template <typename Factor>
void SampleRows(const std::vector<double>& Ky, const Factor& f, std::vector<double>& v,
                std::vector<double>& vm)
{
    const std::size_t rows = Ky.size();
    v.resize(rows);
    vm.resize(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        v[r] = f(Ky[r]);
        vm[r] = f(Ky[Mirror(r, rows)]);
    }
}

// The columns where any of the given column factors is not 0.
TColumnRange NonZeroColumns(std::initializer_list<const std::vector<double>*> factors)
{
    const std::size_t halfCols = (*factors.begin())->size();
    TColumnRange range{halfCols, 0};
    for (const std::vector<double>* f : factors)
        for (std::size_t c = 0; c < halfCols; ++c)
            if ((*f)[c] != 0.0) {
                range.Begin = std::min(range.Begin, c);
                range.End = std::max(range.End, c + 1);
            }
    return range;
}

// Output rows outside [b, e) are 0.
void ClearOutside(TComplex* out, std::size_t b, std::size_t e, std::size_t halfCols)
{
    if (!out)
        return;
    std::fill(out, out + b, TComplex{0.0, 0.0});
    std::fill(out + e, out + halfCols, TComplex{0.0, 0.0});
}

// Columns [b, e) of a row of the Morlet wavelet's products with a real plane's spectrum a:
// E = (v U + v' U') / 2 into re and O = -i (v U - v' U') / 2 into im, either may be null.
// The imaginary part first: re may be a itself.
TULVO_WIDE_VECTORS void MorletRow(const TComplex* a, TComplex* re, TComplex* im, const double* u,
                                  const double* um, double v, double vm, std::size_t b,
                                  std::size_t e)
{
    if (im)
        for (std::size_t c = b; c < e; ++c) {
            const double d = (v * u[c] - vm * um[c]) * 0.5;
            im[c] = {a[c].Im * d, -(a[c].Re * d)};
        }
    if (re)
        for (std::size_t c = b; c < e; ++c) {
            const double h = (v * u[c] + vm * um[c]) * 0.5;
            re[c] = {a[c].Re * h, a[c].Im * h};
        }
}

// out[c] = a[c] g (colRe[c] + rowRe + i (colIm[c] + rowIm)) with g = gy gx[c], columns [b, e).
TULVO_WIDE_VECTORS void GradientRow(const TComplex* a, TComplex* out, std::size_t b,
                                    std::size_t e, double gy, const double* gx,
                                    const double* colRe, double rowRe, const double* colIm,
                                    double rowIm)
{
    for (std::size_t c = b; c < e; ++c) {
        const double g = gy * gx[c];
        const double pr = g * (colRe[c] + rowRe), pi = g * (colIm[c] + rowIm);
        const double xr = a[c].Re, xi = a[c].Im;
        out[c].Re = xr * pr - xi * pi;
        out[c].Im = xr * pi + xi * pr;
    }
}

// A real transform that is a sum of terms Weight * V(ky) * U(kx).
struct TSeparableTerm {
    double Weight;
    std::vector<double> U, UMirror; // HalfCols values
    std::vector<double> V, VMirror; // Rows values
};

class TSeparableKernel final : public THalfKernel {
public:
    // Even: every factor is an even function of the frequency, so P(m(k)) = P(k) bit for
    // bit, E = P and O = 0.
    TSeparableKernel(std::vector<TSeparableTerm> terms, bool even)
        : Terms(std::move(terms)), Even(even)
    {
        for (const TSeparableTerm& t : Terms) {
            const TColumnRange range = NonZeroColumns({&t.U, &t.UMirror});
            Columns.Begin = std::min(range.Begin, Columns.Empty() ? range.Begin : Columns.Begin);
            Columns.End = std::max(range.End, Columns.End);
        }
    }

    bool OddPartVanishes() const override { return Even; }

    TColumnRange Row(int r, const TKernelRow& row) const override
    {
        if (ZeroRow(r))
            return {};
        const std::size_t b = Columns.Begin, e = Columns.End;
        for (std::size_t c = b; c < e; ++c)
            row.ERe[c] = row.EIm[c] = row.ORe[c] = row.OIm[c] = 0.0;
        if (Even) {
            for (const TSeparableTerm& t : Terms)
                AddEvenTerm(t, r, row.ERe, b, e);
            return Columns;
        }
        // ERe gathers P + P(m), OIm the difference, both halved at the end: E is real and
        // O = (P - P(m)) / (2i) purely imaginary.
        for (const TSeparableTerm& t : Terms) {
            const double v = t.Weight * t.V[r], vm = t.Weight * t.VMirror[r];
            for (std::size_t c = b; c < e; ++c) {
                const double p = v * t.U[c], q = vm * t.UMirror[c];
                row.ERe[c] += p + q;
                row.OIm[c] += p - q;
            }
        }
        for (std::size_t c = b; c < e; ++c) {
            row.ERe[c] *= 0.5;
            row.OIm[c] *= -0.5;
        }
        return Columns;
    }

    bool MultiplyRealPlane(std::size_t halfCols, const TComplex* A, TComplex* Re, TComplex* Im,
                           int rowBegin, int rowEnd) const override
    {
        if (!Even && (Terms.size() != 1 || Terms.front().Weight != 1.0))
            return false;
        std::vector<double> even(Even ? halfCols : 0);
        for (int r = rowBegin; r < rowEnd; ++r) {
            const std::size_t offset = static_cast<std::size_t>(r) * halfCols;
            const TComplex* a = A + offset;
            TComplex* re = Re ? Re + offset : nullptr;
            TComplex* im = Im ? Im + offset : nullptr;
            const bool zero = ZeroRow(r);
            const std::size_t b = zero ? halfCols : Columns.Begin;
            const std::size_t e = zero ? halfCols : Columns.End;
            ClearOutside(re, b, e, halfCols);
            ClearOutside(im, b, e, halfCols);
            if (Even) {
                // E = P, real; O = 0.
                if (im)
                    std::fill(im + b, im + e, TComplex{0.0, 0.0});
                if (!re || b >= e)
                    continue;
                std::fill(even.begin() + b, even.begin() + e, 0.0);
                for (const TSeparableTerm& t : Terms)
                    AddEvenTerm(t, r, even.data(), b, e);
                for (std::size_t c = b; c < e; ++c)
                    re[c] = {a[c].Re * even[c], a[c].Im * even[c]};
                continue;
            }
            // One term of weight 1 (the Morlet wavelet): E = (v U + v' U') / 2 and
            // O = -i (v U - v' U') / 2, with the row's factors v and v'.
            const TSeparableTerm& t = Terms.front();
            const double v = t.V[r], vm = t.VMirror[r];
            const double* u = t.U.data();
            const double* um = t.UMirror.data();
            MorletRow(a, re, im, u, um, v, vm, b, e);
        }
        return true;
    }

private:
    bool ZeroRow(int r) const
    {
        if (Columns.Empty())
            return true;
        for (const TSeparableTerm& t : Terms)
            if (t.V[r] != 0.0 || t.VMirror[r] != 0.0)
                return false;
        return true;
    }

    // The terms summed in their order, each product rounded to double, as the wavelet's own
    // evaluation sums its exponentials.
    static void AddEvenTerm(const TSeparableTerm& t, int r, double* p, std::size_t b,
                            std::size_t e)
    {
        const double wv = t.Weight * t.V[r];
        for (std::size_t c = b; c < e; ++c)
            p[c] += wv * t.U[c];
    }

    std::vector<TSeparableTerm> Terms;
    bool Even;
    TColumnRange Columns{0, 0};
};

// exp(-Sigma^2 |R(a) s k - (K0, 0)|^2 / 2) = exp(-Sigma^2 (s kx - K0 cos a)^2 / 2)
//                                          * exp(-Sigma^2 (s ky + K0 sin a)^2 / 2),
// since a rotation keeps lengths: the bump centred at R(-a) (K0, 0) / s.
std::unique_ptr<THalfKernel> MorletKernel(const TMorlet2D& w, const std::vector<double>& Kx,
                                          const std::vector<double>& Ky, double s, double a)
{
    const double k0 = static_cast<double>(w.K0), sigma = static_cast<double>(w.Sigma);
    const double half = sigma * sigma / 2;
    // The rotation is skipped at angle 0, as the wavelet's own evaluation skips it.
    const double x0 = a != 0.0 ? k0 * std::cos(a) : k0;
    const double y0 = a != 0.0 ? -k0 * std::sin(a) : 0.0;
    auto along = [&](double centre) {
        return [=](double k) {
            const double d = s * k - centre;
            return std::exp(-half * (d * d));
        };
    };
    TSeparableTerm t{1.0, {}, {}, {}, {}};
    SampleColumns(Kx, along(x0), t.U, t.UMirror);
    SampleRows(Ky, along(y0), t.V, t.VMirror);
    std::vector<TSeparableTerm> terms;
    terms.push_back(std::move(t));
    return std::make_unique<TSeparableKernel>(std::move(terms), false);
}

// The three Gaussians of r^2 = (s kx)^2 + (s ky)^2, each exp(-g r^2) = exp(-g (s kx)^2) *
// exp(-g (s ky)^2); the orientation has no effect.
std::unique_ptr<THalfKernel> SQDogKernel(const TSQDog2D& w, const std::vector<double>& Kx,
                                         const std::vector<double>& Ky, double s)
{
    const double c = static_cast<double>(w.Alpha) * static_cast<double>(w.Alpha);
    // Alpha 0 divides by zero here: the fault the caller's checkpoint reports.
    const double weights[3] = {0.5 / kTwoPi, 1 / (2 * c) / kTwoPi, -2 / (c + 1) / kTwoPi};
    const double rates[3] = {0.25, c / 4, c / (2 * (c + 1))};
    std::vector<TSeparableTerm> terms;
    for (int k = 0; k < 3; ++k) {
        TSeparableTerm t{weights[k], {}, {}, {}, {}};
        const double g = rates[k];
        auto f = [&](double x) {
            const double sx = s * x;
            return std::exp(-g * (sx * sx));
        };
        SampleColumns(Kx, f, t.U, t.UMirror);
        SampleRows(Ky, f, t.V, t.VMirror);
        terms.push_back(std::move(t));
    }
    return std::make_unique<TSeparableKernel>(std::move(terms), true);
}

// TGaussz2D of order 1 and width W: (-Ky + i Kx) exp(-W^2 (Kx^2 + Ky^2) / 2) with
// (Kx, Ky) = s R(a) (kx, ky). Since -Ky + i Kx = i s e^{ia} (kx + i ky), the transform is
// w L G with w = i s e^{ia}, L = kx + i ky and G = g(kx) g(ky), g(k) = exp(-(W s k)^2 / 2),
// even. Then E = G (w L + conj(w) conj(L')) / 2 and O = G (w L - conj(w) conj(L')) / (2i),
// L' at the mirror bin: each part of each is G times a column term plus a row term.
class TGradientKernel final : public THalfKernel {
public:
    TGradientKernel(const TGaussz2D& wave, const std::vector<double>& Kx,
                    const std::vector<double>& Ky, double s, double a)
    {
        const double ws = static_cast<double>(wave.WidthX) * s;
        const double cosA = a != 0.0 ? std::cos(a) : 1.0;
        const double sinA = a != 0.0 ? std::sin(a) : 0.0;
        const double wr = -s * sinA, wi = s * cosA;
        auto g = [&](double k) {
            const double x = ws * k;
            return std::exp(-(x * x) / 2);
        };
        std::vector<double> gxm, gym, kx, kxm, ky, kym;
        SampleColumns(Kx, g, Gx, gxm);
        SampleRows(Ky, g, Gy, gym);
        SampleColumns(Kx, [](double k) { return k; }, kx, kxm);
        SampleRows(Ky, [](double k) { return k; }, ky, kym);
        const std::size_t halfCols = Gx.size(), rows = Gy.size();
        for (auto* v : {&ColERe, &ColEIm, &ColORe, &ColOIm})
            v->resize(halfCols);
        for (auto* v : {&RowERe, &RowEIm, &RowORe, &RowOIm})
            v->resize(rows);
        // w L + conj(w L') = (wr (kx + kx') - wi (ky + ky'), wr (ky - ky') + wi (kx - kx'))
        // w L - conj(w L') = (wr (kx - kx') - wi (ky - ky'), wr (ky + ky') + wi (kx + kx'))
        for (std::size_t c = 0; c < halfCols; ++c) {
            const double sum = kx[c] + kxm[c], difference = kx[c] - kxm[c];
            ColERe[c] = wr * sum / 2;
            ColEIm[c] = wi * difference / 2;
            ColORe[c] = wi * sum / 2;          // O = (Im, -Re) of the difference, halved
            ColOIm[c] = -(wr * difference) / 2;
        }
        for (std::size_t r = 0; r < rows; ++r) {
            const double sum = ky[r] + kym[r], difference = ky[r] - kym[r];
            RowERe[r] = -(wi * sum) / 2;
            RowEIm[r] = wr * difference / 2;
            RowORe[r] = wr * sum / 2;
            RowOIm[r] = wi * difference / 2;
        }
        Columns = NonZeroColumns({&Gx});
    }

    TColumnRange Row(int r, const TKernelRow& row) const override
    {
        if (Columns.Empty() || Gy[r] == 0.0)
            return {};
        for (std::size_t c = Columns.Begin; c < Columns.End; ++c) {
            const double g = Gy[r] * Gx[c];
            row.ERe[c] = g * (ColERe[c] + RowERe[r]);
            row.EIm[c] = g * (ColEIm[c] + RowEIm[r]);
            row.ORe[c] = g * (ColORe[c] + RowORe[r]);
            row.OIm[c] = g * (ColOIm[c] + RowOIm[r]);
        }
        return Columns;
    }

    bool MultiplyRealPlane(std::size_t halfCols, const TComplex* A, TComplex* Re, TComplex* Im,
                           int rowBegin, int rowEnd) const override
    {
        for (int r = rowBegin; r < rowEnd; ++r) {
            const std::size_t offset = static_cast<std::size_t>(r) * halfCols;
            const TComplex* a = A + offset;
            TComplex* re = Re ? Re + offset : nullptr;
            TComplex* im = Im ? Im + offset : nullptr;
            const bool zero = Columns.Empty() || Gy[r] == 0.0;
            const std::size_t b = zero ? halfCols : Columns.Begin;
            const std::size_t e = zero ? halfCols : Columns.End;
            ClearOutside(re, b, e, halfCols);
            ClearOutside(im, b, e, halfCols);
            const double gy = Gy[r];
            // The imaginary part first: the real part may replace A.
            if (im)
                GradientRow(a, im, b, e, gy, Gx.data(), ColORe.data(), RowORe[r], ColOIm.data(),
                            RowOIm[r]);
            if (re)
                GradientRow(a, re, b, e, gy, Gx.data(), ColERe.data(), RowERe[r], ColEIm.data(),
                            RowEIm[r]);
        }
        return true;
    }

private:
    std::vector<double> Gx, Gy;
    std::vector<double> ColERe, ColEIm, ColORe, ColOIm;
    std::vector<double> RowERe, RowEIm, RowORe, RowOIm;
    TColumnRange Columns;
};

// Any other wavelet: Spectrum at every bin of the half spectrum and at its mirror, with the
// frequency arithmetic of the complex filtering (extended precision, rotation skipped at 0).
class TSampledKernel final : public THalfKernel {
public:
    TSampledKernel(const TWave2D& wave, const std::vector<double>& kx,
                   const std::vector<double>& ky, double scale, double angle)
        : Wave(wave), Kx(kx), Ky(ky), Scale(scale), Angle(angle)
    {
    }

    TColumnRange Row(int r, const TKernelRow& row) const override
    {
        const std::size_t cols = Kx.size(), rows = Ky.size(), halfCols = cols / 2 + 1;
        const std::size_t mr = Mirror(static_cast<std::size_t>(r), rows);
        for (std::size_t c = 0; c < halfCols; ++c) {
            const TComplex p = At(Kx[c], Ky[r]);
            const TComplex q = At(Kx[Mirror(c, cols)], Ky[mr]);
            // q enters conjugated: E = (p + conj q) / 2, O = (p - conj q) / (2i).
            row.ERe[c] = (p.Re + q.Re) / 2;
            row.EIm[c] = (p.Im - q.Im) / 2;
            row.ORe[c] = (p.Im + q.Im) / 2;
            row.OIm[c] = -(p.Re - q.Re) / 2;
        }
        return {0, halfCols};
    }

private:
    TComplex At(double u, double v) const
    {
        const long double scale = Scale;
        TComplex p;
        if (Angle != 0.0) {
            const long double cosA = std::cos(static_cast<long double>(Angle));
            const long double sinA = std::sin(static_cast<long double>(Angle));
            const long double ku = u, kv = v;
            Wave.Spectrum((cosA * ku - sinA * kv) * scale, (sinA * ku + cosA * kv) * scale, p);
        } else {
            Wave.Spectrum(static_cast<long double>(u) * scale, static_cast<long double>(v) * scale,
                          p);
        }
        return p;
    }

    const TWave2D& Wave;
    const std::vector<double>& Kx;
    const std::vector<double>& Ky;
    double Scale;
    double Angle;
};

} // namespace

std::unique_ptr<THalfKernel> MakeHalfKernel(const TWave2D& Wave, const std::vector<double>& Kx,
                                            const std::vector<double>& Ky, double Scale,
                                            double Angle)
{
    if (const auto* morlet = dynamic_cast<const TMorlet2D*>(&Wave))
        return MorletKernel(*morlet, Kx, Ky, Scale, Angle);
    if (const auto* dog = dynamic_cast<const TSQDog2D*>(&Wave))
        return SQDogKernel(*dog, Kx, Ky, Scale);
    if (const auto* gradient = dynamic_cast<const TGaussz2D*>(&Wave))
        if (gradient->Order == 1 && gradient->WidthX == gradient->WidthY)
            return std::make_unique<TGradientKernel>(*gradient, Kx, Ky, Scale, Angle);
    return std::make_unique<TSampledKernel>(Wave, Kx, Ky, Scale, Angle);
}

void MultiplyHalfSpectrum(const THalfKernel& Kernel, std::size_t HalfCols, const TComplex* A,
                          const TComplex* B, TComplex* Re, TComplex* Im, int RowBegin,
                          int RowEnd, double* scratch)
{
    if (!B && Kernel.MultiplyRealPlane(HalfCols, A, Re, Im, RowBegin, RowEnd))
        return;
    const TKernelRow row{scratch, scratch + HalfCols, scratch + 2 * HalfCols,
                         scratch + 3 * HalfCols};
    for (int r = RowBegin; r < RowEnd; ++r) {
        const std::size_t offset = static_cast<std::size_t>(r) * HalfCols;
        const TComplex* a = A + offset;
        const TComplex* b = B ? B + offset : nullptr;
        TComplex* re = Re ? Re + offset : nullptr;
        TComplex* im = Im ? Im + offset : nullptr;
        const TColumnRange range = Kernel.Row(r, row);
        // Outside the range E and O are 0, and so is every product.
        const std::size_t begin = range.Empty() ? HalfCols : range.Begin;
        const std::size_t end = range.Empty() ? HalfCols : range.End;
        ClearOutside(re, begin, end, HalfCols);
        ClearOutside(im, begin, end, HalfCols);
        for (std::size_t c = begin; c < end; ++c) {
            const TComplex x = a[c], y = b ? b[c] : TComplex{0.0, 0.0};
            const TComplex e = {row.ERe[c], row.EIm[c]}, o = {row.ORe[c], row.OIm[c]};
            if (re) {
                const TComplex xe = CMul(x, e), yo = CMul(y, o);
                re[c] = {xe.Re - yo.Re, xe.Im - yo.Im};
            }
            if (im) {
                const TComplex xo = CMul(x, o), ye = CMul(y, e);
                im[c] = {xo.Re + ye.Re, xo.Im + ye.Im};
            }
        }
    }
}
