#pragma once
// The continuous wavelet transform of one series by filtering in the frequency domain: for
// every scale, FFT, multiply each bin by the conjugate wavelet spectrum at (bin frequency x
// scale), inverse FFT. The transforms are unnormalised, so results carry the factor n.
//
// The series is real, and so are the spectra of TMorlet1D and TSDog1D: for them the real
// part of the inverse transform is the inverse real transform (c2r) of the series' bins of
// non-negative frequency times the even part of the spectrum, (W(w) + W(-w)) / 2, and the
// imaginary part the c2r of the bins times the odd part, (W(w) - W(-w)) / 2i. So a row costs
// one c2r (two for the phase), on the one r2c of the series. Other wavelets take the complex
// route of ApplyWavelet.

#include "engine/analysis_params.h"
#include "engine/complex.h"
#include "engine/stats.h"
#include "engine/ufftw.h"
#include "engine/wavelets1d.h"

#include <memory>
#include <mutex>
#include <vector>

// FFT plans and the frequency grid for one series length, made once and shared read-only by
// any number of rows, series or threads; it also keeps the rows' work buffers for reuse.
class T1WaveTransformer {
public:
    explicit T1WaveTransformer(int Len);
    ~T1WaveTransformer();

    int Len() const { return Len_; }
    const std::vector<double>& Omega() const { return Omega_; }

    // A zero-filled work buffer of Len values with the plans' alignment.
    ComplexBuffer NewBuffer() const;

    void ForwardFFT(TComplex* Buf) const;
    void BackwardFFT(TComplex* Buf) const;

    // Filters the Len values at Buf in place at one scale.
    void ApplyWavelet(const TWave1D& Wave, TComplex* Buf, double Scale) const;

    // The middle step of ApplyWavelet: each bin times the conjugate wavelet spectrum at the
    // bin's angular frequency times Scale.
    void MultiplyBySpectrum(const TWave1D& Wave, TComplex* Buf, double Scale) const;

    struct TWorkspace;
    // Work buffers for one thread's rows, taken from those kept here or made; they come
    // back with the returned handle.
    struct TWorkspaceReturn {
        const T1WaveTransformer* Owner;
        void operator()(TWorkspace* w) const noexcept;
    };
    using WorkspaceHandle = std::unique_ptr<TWorkspace, TWorkspaceReturn>;
    WorkspaceHandle TakeWorkspace() const;

    // The series' bins of non-negative frequency (Len / 2 + 1), by r2c, into `Bins`.
    void SeriesBins(const double* Series, TWorkspace& Work, TComplex* Bins) const;

private:
    friend struct TRowKernel;
    int Len_;
    FftPlan PlanForward;
    FftPlan PlanBackward;
    RealFftPlan PlanR2C;
    RealFftPlan PlanC2R;
    std::vector<double> Omega_;
    std::vector<double> MirrorOmega_; // of bin k < Len / 2 + 1: the frequency of bin Len - k
    mutable std::mutex SpareLock;
    mutable std::vector<std::unique_ptr<TWorkspace>> Spare;
};

// One row of the coefficient matrix: the first Len values of Series filtered at Scale, written
// to Row as the phase (Phase), the real part (L1Norm) or the real part times the scale.
// Buf is the caller's work buffer of Len values.
void TransformRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                  const double* Series, double Scale, bool L1Norm, bool Phase, TComplex* Buf,
                  double* Row);

// The wavelet's values at every scale of a grid, at the frequency of every bin of the
// transformer's length and at the mirror bin's: the share of a row's work that does not
// depend on the series. Made once for the series of a run, read by any number of threads;
// rows made with them are bit for bit those made without. Only the real route (Morlet and
// the difference of Gaussians) uses them.
class TRowWeights {
public:
    // Throws EOutOfMemory beyond the memory budget.
    TRowWeights(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                std::vector<double> Scales);

    // Whether these are the weights of the rows of `Scales`.
    bool Serve(const std::vector<double>& Scales) const;
    const double* Plus(std::size_t Row) const { return Plus_.data() + Row * Bins; }
    // Null for an even wavelet: its values at the mirror frequencies are Plus.
    const double* Minus(std::size_t Row) const
    {
        return Minus_.empty() ? nullptr : Minus_.data() + Row * Bins;
    }

private:
    std::size_t Bins;
    std::vector<double> Scales_;
    std::vector<double> Plus_, Minus_;
};

// What the rows of one series are to give, for TransformRows.
struct TRowsRequest {
    const double* Series = nullptr; // Len values
    const std::vector<double>* Scales = nullptr; // one row each, in order
    bool L1Norm = true;
    bool Phase = false;
    // The wavelet's values made beforehand, or null; used when they serve these scales.
    const TRowWeights* Weights = nullptr;
    double* Coefs = nullptr; // Scales x Len values, each row written by the thread that makes it
    // One entry per row, or null: the row's extremes, and with Moments its mean and squared
    // deviations, gathered while the row is written.
    std::vector<TBlockStats>* RowStats = nullptr;
    bool Moments = false;
    // Told of finished rows (of ProgressTotal in the run) and asked whether to stop, every
    // few milliseconds of work, from the threads that do it; may be null.
    TCommandProgress* Progress = nullptr;
    std::int64_t ProgressTotal = 0;
};

// The rows of the request, shared between the cores, each the same as TransformRow's.
void TransformRows(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                   const TRowsRequest& Request);

// The coefficient matrix of Series over Steps scales from MaxScale (row 0) to MinScale
// (row Steps - 1), grid by StepKind (see ScaleGrid); Coefs becomes Steps x Len values,
// element (row k, sample j) at k * Len + j. Series must hold at least Len values. Rows are
// shared between the cores; the result is the same as row by row with TransformRow.
// `Progress`, when given, hears of the finished rows (of Steps in all) and may cancel.
void WaveletTransform1D(const T1WaveTransformer& Transformer, int Steps, const TWave1D& Wave,
                        double MaxScale, double MinScale, const std::vector<double>& Series,
                        bool L1Norm, int StepKind, bool Phase, std::vector<double>& Coefs,
                        TCommandProgress* Progress = nullptr);
