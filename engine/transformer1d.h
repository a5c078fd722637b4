#pragma once
// The continuous wavelet transform of one series by filtering in the frequency domain: for
// every scale, FFT, multiply each bin by the conjugate wavelet spectrum at (bin frequency x
// scale), inverse FFT. The transforms are unnormalised, so results carry the factor n.

#include "engine/complex.h"
#include "engine/ufftw.h"
#include "engine/wavelets1d.h"

#include <vector>

// FFT plans and the frequency grid for one series length, made once and shared read-only by
// any number of rows, series or threads.
class T1WaveTransformer {
public:
    explicit T1WaveTransformer(int Len);

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

private:
    int Len_;
    FftPlan PlanForward;
    FftPlan PlanBackward;
    std::vector<double> Omega_;
};

// One row of the coefficient matrix: the first Len values of Series filtered at Scale, written
// to Row as the phase (Phase), the real part (L1Norm) or the real part times the scale.
// Buf is the caller's work buffer of Len values.
void TransformRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                  const double* Series, double Scale, bool L1Norm, bool Phase, TComplex* Buf,
                  double* Row);

// The coefficient matrix of Series over Steps scales from MaxScale (row 0) to MinScale
// (row Steps - 1), grid by StepKind (see ScaleGrid); Coefs becomes Steps x Len values,
// element (row k, sample j) at k * Len + j. Series must hold at least Len values. Rows are
// shared between the cores; the result is the same as row by row with TransformRow.
void WaveletTransform1D(const T1WaveTransformer& Transformer, int Steps, const TWave1D& Wave,
                        double MaxScale, double MinScale, const std::vector<double>& Series,
                        bool L1Norm, int StepKind, bool Phase, std::vector<double>& Coefs);
