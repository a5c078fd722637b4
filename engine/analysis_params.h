#pragma once
// The parameters the user sets, and how a running command reads them: each at the step where
// the command needs it, so that the window can answer from its controls as they stand then,
// and the batch tool and the tests from fixed values.

#include "engine/analysis_kinds.h"

#include <cstdint>
#include <string>

struct TAnalysisParams {
    TWaveletKind WaveletKind = wkGaussian;
    double Alpha = 1.25;
    double K0 = 6.0;
    double Sigma = 1.0;
    int MaxScale = 100;
    int MinScale = 1;
    int Steps = 100;
    TScaleStep StepKind = ssLogarithmic;
    TOutputKind OutputKind = okLogRealPart;
    bool L1Norm = true;
    bool WaveletContrast = false;
    int PaletteIndex = 0;   // item index: 0 rainbow, 1 hue, 2 grey
    int NumColors = 2;      // item index: 4, 8, 16, 24, 32, 64 colours
};

// What a command asks of its parameters while it runs. The wavelet parameters are read
// through calls that may fail with EConvertError (a text that is no number).
class TParameterSource {
public:
    virtual ~TParameterSource() = default;
    virtual int Steps() = 0;
    virtual int MaxScale() = 0;
    virtual int MinScale() = 0;
    virtual TWaveletKind WaveletKind() = 0;
    virtual double ReadAlpha() = 0;
    virtual double ReadK0() = 0;
    virtual double ReadSigma() = 0;
    virtual bool L1Norm() = 0;
    virtual int StepKind() = 0;   // item index, TScaleStep values or others
    virtual int OutputKind() = 0; // item index, TOutputKind values or others
    virtual bool WaveletContrast() = 0;
    virtual int PaletteIndex() = 0;
    virtual int NumColors() = 0;
};

// Parameters fixed before the run: the batch tool and the tests.
class TFixedParameters : public TParameterSource {
public:
    explicit TFixedParameters(const TAnalysisParams& params = {}) : P(params) {}
    TAnalysisParams P;

    int Steps() override { return P.Steps; }
    int MaxScale() override { return P.MaxScale; }
    int MinScale() override { return P.MinScale; }
    TWaveletKind WaveletKind() override { return P.WaveletKind; }
    double ReadAlpha() override { return P.Alpha; }
    double ReadK0() override { return P.K0; }
    double ReadSigma() override { return P.Sigma; }
    bool L1Norm() override { return P.L1Norm; }
    int StepKind() override { return P.StepKind; }
    int OutputKind() override { return P.OutputKind; }
    bool WaveletContrast() override { return P.WaveletContrast; }
    int PaletteIndex() override { return P.PaletteIndex; }
    int NumColors() override { return P.NumColors; }
};

// Where a command reports progress. ProcessPendingMessages is the command's checkpoint: the
// window repaints meanwhile, and it throws ECancelled when the user asked to stop.
//
// Inside long steps (the rows of a transform) the command calls WorkDone and CheckCancelled
// every few milliseconds of work; both may be called from any of the run's worker threads at
// once, so implementations keep them cheap and thread-safe.
class TCommandProgress {
public:
    virtual ~TCommandProgress() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void ProcessPendingMessages() = 0;
    // `rows` more rows of work are finished, of `total` for the whole run.
    virtual void WorkDone(std::int64_t rows, std::int64_t total) { (void)rows, (void)total; }
    // Throws ECancelled when the user asked to stop.
    virtual void CheckCancelled() {}
};
