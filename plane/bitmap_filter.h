#pragma once
// The two-dimensional continuous wavelet transform of one real matrix by multiplication in
// the frequency domain, one scale and orientation at a time. The matrix's spectrum is kept
// after the first filtering, so every later filtering costs one inverse FFT per output part.
// The filter also holds the normalisations of its working plane and an accumulator that sums
// planes over orientations; the 2-D command renders that sum as a picture.
//
// A plane is Rows x Cols complex values, row by row (row 0 the top line of an image), the
// element of row r and column c at r * Cols + c.
//
// The matrix is real, so the work runs on real-data transforms: the spectrum is the half
// spectrum of an r2c transform, and each part of a filtered plane is one c2r transform of the
// spectrum times the Hermitian or the anti-Hermitian part of the wavelet (see half_kernel.h).
// A matrix loaded with imaginary parts keeps them: its imaginary part gets a half spectrum of
// its own.
//
// Memory, in planes of Count complex values: Work 1, the spectrum 1/2, the sum 1/2; the fused
// orientations work inside Work, with 1/2 more per lane for the contrast pass; Filter itself
// takes 1/2 more for the imaginary part.
//
// Checkpoints: Filter, Stats, the normalisations and the fused orientations end with
// CheckFpFaults, so a floating-point fault raised since the caller's ClearFpFaults (a 1 x 1
// plane has no standard deviation; a wavelet parameter may divide by zero) ends the command
// there instead of spreading NaNs into the pictures.

#include "engine/analysis_params.h"
#include "engine/stats.h"
#include "plane/contrast_kernel.h"
#include "plane/fft2.h"
#include "plane/filter_kernels.h"
#include "plane/plane_passes.h"
#include "plane/wavelets2d.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class TBitmapFilter {
public:
    // Work is zero-filled. Throws std::invalid_argument for fewer than one row or column and
    // EOutOfMemory, before any plan is made, when the plane's size overflows or exceeds the
    // memory budget.
    TBitmapFilter(int Rows, int Cols);
    TBitmapFilter(const TBitmapFilter&) = delete;
    TBitmapFilter& operator=(const TBitmapFilter&) = delete;

    int Rows() const { return Rows_; }
    int Cols() const { return Cols_; }
    std::size_t Count() const { return Count_; }

    // The working plane: callers load the matrix into the real parts (imaginary parts 0) and
    // read results from it. Count elements, at the same address for the filter's life. (Its
    // block is a little longer when need be, so that the fused orientations' two lanes fit
    // in it.)
    TComplex* Work() { return Work_.get(); }
    const TComplex* Work() const { return Work_.get(); }

    // Replaces Work by the transform at Scale and Angle (radians), weighted by Scale, with
    // Output in the real parts and the imaginary part of the transform, weighted, in the
    // imaginary parts. The first call fixes the spectrum of Work as it is then; later changes
    // to Work never reach it.
    void Filter(const TWave2D& Wave, TFilterOutput Output, double Scale, double Angle);

    // Statistics of the real parts of Work; needs at least two elements.
    TSeriesStats Stats() const;

    // The engine's normalisations applied to the real parts of Work; every imaginary part
    // becomes 0. NormalizeStdDev and ClipNormalize need at least two elements.
    void NormalizeMinMax();
    void NormalizeLog();
    void NormalizeStdDev();
    void ClipNormalize(long double K);

    // Starts a new sum of Count zeros.
    void ResetAccumulator();
    // Adds Weight times Work, both parts, to the sum; nothing without a ResetAccumulator.
    void Accumulate(double Weight);
    // Whether there is a sum (after the first ResetAccumulator).
    bool HasSums() const { return static_cast<bool>(SumsRe_); }
    // The real parts of the sum, Count values row by row, or nullptr without a sum.
    const double* SumsRe() const { return RealRows(SumsRe_.get()); }
    // The imaginary parts, or nullptr while all of them are 0 (the 2-D command's sums).
    const double* SumsIm() const { return RealRows(SumsIm_.get()); }
    // Statistics of the real parts of the sum (at least two elements), measured while the
    // sum was last added to when AccumulateOrientations was asked to, else now.
    TSeriesStats SumStats() const;

    // --- The orientations of the 2-D command, fused and side by side ---
    //
    // One orientation: the plane that Filter(Wave, Output, Scale, Angle), the normalisation
    // of NormalizeKind (the item index of the output quantity: 0 NormalizeLog, 1 and 2
    // NormalizeMinMax, 3 NormalizeStdDev, any other none), ContrastPass with Contrast when
    // that is not null, and ClipNormalize(3.5) would leave in the real parts of Work, within
    // rounding. Only the output part asked for is transformed.
    struct TOrientation {
        double Scale = 1.0;
        double Angle = 0.0;
        int NormalizeKind = -1;
        const TContrastKernel* Contrast = nullptr;
    };
    static constexpr int kLanes = 2;

    // Computes up to kLanes orientations at once, each into its own lane, on the run's
    // threads; Output is foRealPart or foImagPart (std::invalid_argument otherwise), a
    // contrast kernel must have the filter's size. The spectrum is fixed first when no
    // filtering has fixed it yet. Work's memory holds the lanes: its contents are unspecified
    // afterwards. Progress (when not null) hears of every stage of every lane, Rows rows of
    // work per orientation out of TotalRows for the run, from the lanes' threads, and is
    // asked whether to stop before each stage.
    void FilterOrientations(const TWave2D& Wave, TFilterOutput Output,
                            const TOrientation* Orientations, int Count,
                            TCommandProgress* Progress, std::int64_t TotalRows);
    // Adds the planes of lanes First .. First + Count - 1, in that order, to the sum, as
    // Accumulate(1.0) after each would; when MeasureSums, SumStats is measured in the same
    // pass. Nothing without a sum.
    void AccumulateOrientations(int First, int Count, bool MeasureSums);

private:
    void FixSpectrum();
    TComplex* Lane(int j) const { return Work_.get() + static_cast<std::size_t>(j) * HalfCount_; }
    TComplex* Aux(int j);
    TRealPlane LanePlane(int j) const;
    void RunLane(int j, const TWave2D& Wave, TFilterOutput Output,
                 const TOrientation& orientation, TCommandProgress* Progress,
                 std::int64_t TotalRows);
    DoubleView RealParts() const { return RealPartsOf(Work_.get(), Count_); }
    void FinishNormalisation();
    void SumsChanged() { SumStats_.reset(); }

    int Cols_;
    int Rows_;
    std::size_t Count_;
    std::size_t HalfCount_;
    ComplexBuffer Work_; // Count elements, with room behind them for two lanes
    THalfSpectrumPlan Forward;
    THalfSpectrumPlan Inverse;
    std::vector<double> Kx; // angular frequency of every column bin, FFTW's order
    std::vector<double> Ky; // and of every row bin
    ComplexBuffer SpectrumRe; // half spectrum of the real parts, once fixed
    ComplexBuffer SpectrumIm; // and of the imaginary parts, when there were any
    ComplexBuffer Aux_[kLanes]; // a second half-spectrum buffer per lane, when needed
    TClipRange LaneClip[kLanes] = {};
    ComplexBuffer SumsRe_;
    ComplexBuffer SumsIm_;
    mutable std::optional<TSeriesStats> SumStats_;
};
