#include "engine/transformer1d.h"

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "engine/scales.h"
#include "engine/vector_clones.h"

#include <algorithm>
#include <array>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <atomic>
#include <cmath>
#include <stdexcept>

struct T1WaveTransformer::TWorkspace {
    explicit TWorkspace(int n)
        : Bins(static_cast<std::size_t>(n) / 2 + 1),
          Real(AllocateReal(static_cast<std::size_t>(n), "the transform buffers")),
          Even(AllocateComplex(Bins, "the transform buffers")),
          SeriesBins(AllocateComplex(Bins, "the transform buffers"))
    {
    }
    std::size_t Bins;
    RealBuffer Real;          // r2c input, c2r output of the even part
    ComplexBuffer Even;       // c2r input, overwritten by the transform
    ComplexBuffer SeriesBins; // the series' r2c, for the thread that makes it
    // Made when first needed: for the phase, the complex route.
    RealBuffer Imag;  // c2r output of the odd part
    ComplexBuffer Odd;
    ComplexBuffer Complex;        // the complex route: a row's buffer
    ComplexBuffer SeriesSpectrum; // the complex route: the series' whole transform
};

void T1WaveTransformer::TWorkspaceReturn::operator()(TWorkspace* w) const noexcept
{
    std::unique_ptr<TWorkspace> owned(w);
    try {
        const std::lock_guard<std::mutex> guard(Owner->SpareLock);
        Owner->Spare.push_back(std::move(owned));
    } catch (...) {
        // No room to keep it: it is freed instead.
    }
}

T1WaveTransformer::T1WaveTransformer(int Len)
    : Len_(Len),
      PlanForward(1, Len, FftDirection::Forward, true),
      PlanBackward(1, Len, FftDirection::Backward, true),
      PlanR2C(Len, FftDirection::Forward),
      PlanC2R(Len, FftDirection::Backward),
      Omega_(AngularFrequencies(Len))
{
    const int bins = Len / 2 + 1;
    MirrorOmega_.resize(static_cast<std::size_t>(bins));
    for (int k = 0; k < bins; ++k)
        MirrorOmega_[k] = Omega_[(Len - k) % Len];
}

T1WaveTransformer::~T1WaveTransformer() = default;

ComplexBuffer T1WaveTransformer::NewBuffer() const
{
    return AllocateComplex(static_cast<std::size_t>(Len_), "the transform buffer");
}

void T1WaveTransformer::ForwardFFT(TComplex* Buf) const { PlanForward.Execute(Buf, Buf); }

void T1WaveTransformer::BackwardFFT(TComplex* Buf) const { PlanBackward.Execute(Buf, Buf); }

void T1WaveTransformer::ApplyWavelet(const TWave1D& Wave, TComplex* Buf, double Scale) const
{
    ForwardFFT(Buf);
    MultiplyBySpectrum(Wave, Buf, Scale);
    BackwardFFT(Buf);
}

void T1WaveTransformer::MultiplyBySpectrum(const TWave1D& Wave, TComplex* Buf,
                                           double Scale) const
{
    for (int i = 0; i < Len_; ++i) {
        const double w = Omega_[i] * Scale;
        TComplex p = Wave.Spectrum(w);
        p.Im = -p.Im;
        Buf[i] = CMul(Buf[i], p);
    }
}

T1WaveTransformer::WorkspaceHandle T1WaveTransformer::TakeWorkspace() const
{
    {
        const std::lock_guard<std::mutex> guard(SpareLock);
        if (!Spare.empty()) {
            TWorkspace* w = Spare.back().release();
            Spare.pop_back();
            return WorkspaceHandle(w, TWorkspaceReturn{this});
        }
    }
    return WorkspaceHandle(new TWorkspace(Len_), TWorkspaceReturn{this});
}

void T1WaveTransformer::SeriesBins(const double* Series, TWorkspace& Work, TComplex* Bins) const
{
    std::copy(Series, Series + Len_, Work.Real.get());
    PlanR2C.Forward(Work.Real.get(), Bins);
}

namespace {

// The element loops of a row, each with an AVX2 version (engine/vector_clones.h).

TULVO_WIDE_VECTORS void ScaledValues(const double* in, std::size_t count, double scale,
                                     double* out)
{
    for (std::size_t i = 0; i < count; ++i)
        out[i] = in[i] * scale;
}

// e[k] = bins[k] x (plus[k] + minus[k]) / 2: the bins times the wavelet's even part, from
// its values at each bin's frequency and at the mirror bin's. Bins 0 and n / 2 are their own
// mirror: there the sum is twice the value.
TULVO_WIDE_VECTORS void TimesEvenPart(const TComplex* bins, const double* plus,
                                      const double* minus, std::size_t count, TComplex* e)
{
    for (std::size_t k = 0; k < count; ++k) {
        const double part = (plus[k] + minus[k]) / 2;
        e[k] = {bins[k].Re * part, bins[k].Im * part};
    }
}

// o[k] = bins[k] x (plus[k] - minus[k]) / 2i: the bins times the wavelet's odd part.
TULVO_WIDE_VECTORS void TimesOddPart(const TComplex* bins, const double* plus,
                                     const double* minus, std::size_t count, TComplex* o)
{
    for (std::size_t k = 0; k < count; ++k) {
        const double part = (plus[k] - minus[k]) / 2;
        o[k] = {bins[k].Im * part, -bins[k].Re * part};
    }
}

// row[0..n) = values[0..n), bypassing the cache where the processor can: a matrix larger
// than the cache would otherwise be read from memory before every line is written over.
void StreamRow(const double* values, std::size_t n, double* row)
{
    std::size_t j = 0;
#if defined(__SSE2__)
    for (; j < n && reinterpret_cast<std::uintptr_t>(row + j) % 16 != 0; ++j)
        row[j] = values[j];
    for (; j + 2 <= n; j += 2)
        _mm_stream_pd(row + j, _mm_loadu_pd(values + j));
#endif
    for (; j < n; ++j)
        row[j] = values[j];
#if defined(__SSE2__)
    _mm_sfence(); // the streamed lines are seen by other threads before what follows
#endif
}

} // namespace

// A row's wavelet values made beforehand (TRowWeights), or none.
struct TRowValues {
    const double* Plus = nullptr;  // at each bin's frequency
    const double* Minus = nullptr; // at the mirror bin's; null for an even wavelet
};

// The rows of the real route, from the series' bins.
struct TRowKernel {
    const T1WaveTransformer& T;
    const TMorlet1D* Morlet;
    const TSDog1D* Dog;

    // A row's bins are weighted a block at a time, so that the spectrum's values stay in the
    // cache between the steps that make and use them.
    static constexpr std::size_t kBlock = 1024;
    // The values of a block beyond the wavelet's reach.
    static constexpr std::array<double, kBlock> kZeroValues{};

    // The difference of Gaussians is even: its values at the mirror frequencies are the same.
    bool Even() const { return Dog != nullptr; }

    // The spectrum at the frequencies omega[0..count) x scale, into `values`.
    void Spectra(const double* omega, std::size_t count, double scale, double* values,
                 double* scratch) const
    {
        if (Morlet)
            Morlet->RealSpectra(omega, count, scale, values);
        else
            Dog->RealSpectra(omega, count, scale, values, scratch);
    }

    // The wavelet at `scale` at the bins [begin, begin + count) into `plus`, and at their
    // mirrors into `minus` unless it is even; count is at most kBlock.
    void Values(std::size_t begin, std::size_t count, double scale, double* plus,
                double* minus) const
    {
        double scratch[kBlock];
        Spectra(T.Omega_.data() + begin, count, scale, plus, scratch);
        if (!Even())
            Spectra(T.MirrorOmega_.data() + begin, count, scale, minus, scratch);
    }

    // The wavelet's values at every bin at `scale`, as TRowWeights keeps them.
    void AllValues(double scale, double* plus, double* minus) const
    {
        const std::size_t bins = static_cast<std::size_t>(T.Len_) / 2 + 1;
        for (std::size_t b = 0; b < bins; b += kBlock)
            Values(b, std::min(kBlock, bins - b), scale, plus + b, minus ? minus + b : nullptr);
    }

    // The series' bins times the even part of the wavelet into `e`, and times its odd part
    // into `o` when given; from the values of `made` when given, else made here.
    void WeightBins(const TComplex* bins, std::size_t count, double scale, TComplex* e,
                    TComplex* o, const TRowValues& made) const
    {
        if (made.Plus) {
            const double* mirror = made.Minus ? made.Minus : made.Plus;
            TimesEvenPart(bins, made.Plus, mirror, count, e);
            if (o)
                TimesOddPart(bins, made.Plus, mirror, count, o);
            return;
        }
        double plus[kBlock], minus[kBlock];
        const double* mirror = Even() ? plus : minus;
        // The wavelet's exponents are parabolas in the frequency, so the bins where it is not
        // zero form one stretch: after values, a block of zeros means zeros to the end.
        bool hadValues = false, pastValues = false;
        for (std::size_t b = 0; b < count; b += kBlock) {
            const std::size_t m = std::min(kBlock, count - b);
            const double* p = kZeroValues.data();
            const double* q = p;
            if (!pastValues) {
                Values(b, m, scale, plus, minus);
                const bool any = AnyValue(plus, m) || (!Even() && AnyValue(minus, m));
                pastValues = hadValues && !any;
                hadValues = hadValues || any;
                p = plus;
                q = mirror;
            }
            TimesEvenPart(bins + b, p, q, m, e + b);
            if (o)
                TimesOddPart(bins + b, p, q, m, o + b);
        }
    }

    static bool AnyValue(const double* v, std::size_t count)
    {
        return std::any_of(v, v + count, [](double x) { return x != 0; });
    }

    // The row of `scale` in the workspace's real buffer (which it returns).
    double* RowInBuffer(const TComplex* bins, double scale, bool l1Norm, bool phase,
                        T1WaveTransformer::TWorkspace& w, const TRowValues& made) const
    {
        const std::size_t n = static_cast<std::size_t>(T.Len_);
        // The phase: Morlet's only (that of the difference of Gaussians takes the complex route).
        if (phase && !w.Odd) {
            w.Odd = AllocateComplex(w.Bins, "the transform buffers");
            w.Imag = AllocateReal(n, "the transform buffers");
        }
        TComplex* e = w.Even.get();
        WeightBins(bins, w.Bins, scale, e, phase ? w.Odd.get() : nullptr, made);
        double* re = w.Real.get();
        T.PlanC2R.Backward(e, re);
        if (!phase) {
            if (!l1Norm)
                ScaledValues(re, n, scale, re);
            return re;
        }
        T.PlanC2R.Backward(w.Odd.get(), w.Imag.get());
        const double* im = w.Imag.get();
        for (std::size_t j = 0; j < n; ++j)
            re[j] = std::atan2(im[j], re[j]);
        return re;
    }

    // The row of `scale` into `row`, streamed past the cache when `stream`, and its
    // statistics into `stats` when given (from the buffer, while it is in the cache).
    void Row(const TComplex* bins, double scale, bool l1Norm, bool phase,
             T1WaveTransformer::TWorkspace& w, double* row, const TRowValues& made = {},
             bool stream = false, TBlockStats* stats = nullptr, bool moments = false) const
    {
        const std::size_t n = static_cast<std::size_t>(T.Len_);
        const double* values = RowInBuffer(bins, scale, l1Norm, phase, w, made);
        if (stats)
            *stats = BlockStatsOf(values, n, moments);
        if (stream)
            StreamRow(values, n, row);
        else
            std::copy(values, values + n, row);
    }
};

namespace {

void StoreRow(const TComplex* Buf, int n, double Scale, bool L1Norm, bool Phase, double* Row)
{
    if (Phase) {
        for (int j = 0; j < n; ++j)
            Row[j] = CArg(Buf[j]);
    } else if (L1Norm) {
        for (int j = 0; j < n; ++j)
            Row[j] = Buf[j].Re;
    } else {
        for (int j = 0; j < n; ++j)
            Row[j] = Buf[j].Re * Scale;
    }
}

// The complex route, for wavelets whose spectrum the real route does not know and for the
// phase of the difference of Gaussians: that phase is 0 or +-pi, and which of +pi and -pi a
// negative value gets is decided by the rounding noise of the imaginary part, so it is made
// exactly as the whole complex transform makes it.
void ComplexRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                const TComplex* SeriesSpectrum, double Scale, bool L1Norm, bool Phase,
                TComplex* Buf, double* Row)
{
    const int n = Transformer.Len();
    std::copy(SeriesSpectrum, SeriesSpectrum + n, Buf);
    Transformer.MultiplyBySpectrum(Wave, Buf, Scale);
    Transformer.BackwardFFT(Buf);
    StoreRow(Buf, n, Scale, L1Norm, Phase, Row);
}

TRowKernel KernelFor(const T1WaveTransformer& Transformer, const TWave1D& Wave)
{
    return {Transformer, dynamic_cast<const TMorlet1D*>(&Wave),
            dynamic_cast<const TSDog1D*>(&Wave)};
}

bool RealRoute(const TRowKernel& kernel, bool Phase)
{
    return kernel.Morlet || (kernel.Dog && !Phase);
}

ComplexBuffer& Ensure(ComplexBuffer& buffer, const T1WaveTransformer& Transformer)
{
    if (!buffer)
        buffer = Transformer.NewBuffer();
    return buffer;
}

void SeriesSpectrum(const T1WaveTransformer& Transformer, const double* Series, TComplex* Out)
{
    for (int j = 0; j < Transformer.Len(); ++j)
        Out[j] = {Series[j], 0.0};
    Transformer.ForwardFFT(Out);
}

// A matrix this large is written past the cache: it does not fit, and the passes after the
// transform read it from memory anyway. Measured with a last-level cache of 32 MB: eight
// series of 24 MB matrices ran 5 % faster streamed, those of 8 and 16 MB the same either way.
constexpr std::size_t kStreamedMatrixBytes = std::size_t{16} << 20;

// Rows claimed a few at a time, so that a share that falls behind (a busy core) is helped,
// and so that progress and cancellation are heard every few milliseconds.
std::size_t RowsPerClaim(std::size_t n) { return std::max<std::size_t>(1, 32768 / n); }

} // namespace

void TransformRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                  const double* Series, double Scale, bool L1Norm, bool Phase, TComplex* Buf,
                  double* Row)
{
    const TRowKernel kernel = KernelFor(Transformer, Wave);
    if (!RealRoute(kernel, Phase)) {
        const int n = Transformer.Len();
        for (int j = 0; j < n; ++j)
            Buf[j] = {Series[j], 0.0};
        Transformer.ApplyWavelet(Wave, Buf, Scale);
        StoreRow(Buf, n, Scale, L1Norm, Phase, Row);
        return;
    }
    const T1WaveTransformer::WorkspaceHandle work = Transformer.TakeWorkspace();
    Transformer.SeriesBins(Series, *work, work->SeriesBins.get());
    kernel.Row(work->SeriesBins.get(), Scale, L1Norm, Phase, *work, Row);
}

void TransformRows(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                   const TRowsRequest& Request)
{
    const std::size_t n = static_cast<std::size_t>(Transformer.Len());
    const std::vector<double>& scales = *Request.Scales;
    const TRowKernel kernel = KernelFor(Transformer, Wave);
    const bool real = RealRoute(kernel, Request.Phase);
    const T1WaveTransformer::WorkspaceHandle first = Transformer.TakeWorkspace();
    // Every row starts from the same transform of the series, made once: bit for bit what
    // each row would compute again.
    if (real)
        Transformer.SeriesBins(Request.Series, *first, first->SeriesBins.get());
    else
        SeriesSpectrum(Transformer, Request.Series,
                       Ensure(first->SeriesSpectrum, Transformer).get());
    const TComplex* bins = first->SeriesBins.get();
    const TComplex* spectrum = first->SeriesSpectrum.get();
    const TRowWeights* weights =
        real && Request.Weights && Request.Weights->Serve(scales) ? Request.Weights : nullptr;
    const std::size_t perClaim = RowsPerClaim(n);
    const bool stream = scales.size() * n * sizeof(double) >= kStreamedMatrixBytes;
    std::atomic<std::size_t> next{0};
    ForEachShare(scales.size(), perClaim, [&](std::size_t, std::size_t, std::size_t) {
        const T1WaveTransformer::WorkspaceHandle work = Transformer.TakeWorkspace();
        TComplex* complexBuf = real ? nullptr : Ensure(work->Complex, Transformer).get();
        for (;;) {
            const std::size_t begin = next.fetch_add(perClaim);
            if (begin >= scales.size())
                return;
            const std::size_t end = std::min(begin + perClaim, scales.size());
            if (Request.Progress)
                Request.Progress->CheckCancelled();
            for (std::size_t k = begin; k < end; ++k) {
                double* row = Request.Coefs + k * n;
                TBlockStats* stats = Request.RowStats ? &(*Request.RowStats)[k] : nullptr;
                if (real) {
                    const TRowValues made =
                        weights ? TRowValues{weights->Plus(k), weights->Minus(k)} : TRowValues{};
                    kernel.Row(bins, scales[k], Request.L1Norm, Request.Phase, *work, row, made,
                               stream, stats, Request.Moments);
                    continue;
                }
                ComplexRow(Transformer, Wave, spectrum, scales[k], Request.L1Norm,
                           Request.Phase, complexBuf, row);
                if (stats)
                    *stats = BlockStatsOf(row, n, Request.Moments);
            }
            if (Request.Progress)
                Request.Progress->WorkDone(static_cast<std::int64_t>(end - begin),
                                           Request.ProgressTotal);
        }
    });
}

TRowWeights::TRowWeights(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                         std::vector<double> Scales)
    : Bins(static_cast<std::size_t>(Transformer.Len()) / 2 + 1), Scales_(std::move(Scales))
{
    const TRowKernel kernel = KernelFor(Transformer, Wave);
    if (!kernel.Morlet && !kernel.Dog)
        return;
    const std::size_t count = CheckedMul(Scales_.size(), Bins, "the wavelet weights");
    const std::size_t arrays = kernel.Even() ? 1 : 2;
    RequireMemory(CheckedMul(count, arrays * sizeof(double), "the wavelet weights"),
                  "the wavelet weights");
    Plus_.resize(count);
    if (!kernel.Even())
        Minus_.resize(count);
    for (std::size_t k = 0; k < Scales_.size(); ++k)
        kernel.AllValues(Scales_[k], Plus_.data() + k * Bins,
                         Minus_.empty() ? nullptr : Minus_.data() + k * Bins);
}

bool TRowWeights::Serve(const std::vector<double>& Scales) const
{
    return !Plus_.empty() && Scales == Scales_;
}

void WaveletTransform1D(const T1WaveTransformer& Transformer, int Steps, const TWave1D& Wave,
                        double MaxScale, double MinScale, const std::vector<double>& Series,
                        bool L1Norm, int StepKind, bool Phase, std::vector<double>& Coefs,
                        TCommandProgress* Progress)
{
    const std::size_t n = static_cast<std::size_t>(Transformer.Len());
    if (Series.size() < n)
        throw std::invalid_argument("WaveletTransform1D: the series is shorter than the plans");
    const std::vector<double> grid = ScaleGrid(StepKind, MaxScale, MinScale, Steps);
    const std::size_t count = CheckedMul(grid.size(), n, "the coefficient matrix");
    if (Coefs.size() != count) {
        RequireMemory(CheckedMul(count, sizeof(double), "the coefficient matrix"),
                      "the coefficient matrix");
        Coefs.resize(count);
    }
    TRowsRequest request;
    request.Series = Series.data();
    request.Scales = &grid;
    request.L1Norm = L1Norm;
    request.Phase = Phase;
    request.Coefs = Coefs.data();
    request.Progress = Progress;
    request.ProgressTotal = static_cast<std::int64_t>(grid.size());
    TransformRows(Transformer, Wave, request);
}
