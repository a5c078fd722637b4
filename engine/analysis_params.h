#pragma once
// The parameters the user sets, and how a running command reads them: each at the step where
// the command needs it, so that the window can answer from its controls as they stand then,
// and the batch tool and the tests from fixed values.

#include "engine/analysis_kinds.h"
#include "engine/parameter_schema.h"

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

// What a command asks of its parameters while it runs: one read keyed by field, so the
// window can answer from its controls as they stand at that moment (the wavelet parameters
// through a conversion that may fail with EConvertError, a text that is no number), and the
// batch tool and the tests from fixed values. The typed reads below are what commands call.
class TParameterSource {
public:
    virtual ~TParameterSource() = default;
    virtual double Read(TParamField field) = 0;

    int Steps() { return ReadInt(TParamField::Steps); }
    int MaxScale() { return ReadInt(TParamField::MaxScale); }
    int MinScale() { return ReadInt(TParamField::MinScale); }
    TWaveletKind WaveletKind()
    {
        return ReadInt(TParamField::WaveletKind) == wkMorlet ? wkMorlet : wkGaussian;
    }
    double ReadAlpha() { return Read(TParamField::Alpha); }
    double ReadK0() { return Read(TParamField::K0); }
    double ReadSigma() { return Read(TParamField::Sigma); }
    bool L1Norm() { return ReadInt(TParamField::L1Norm) != 0; }
    int StepKind() { return ReadInt(TParamField::StepKind); }     // TScaleStep values or others
    int OutputKind() { return ReadInt(TParamField::OutputKind); } // TOutputKind values or others
    bool WaveletContrast() { return ReadInt(TParamField::WaveletContrast) != 0; }
    int PaletteIndex() { return ReadInt(TParamField::PaletteIndex); }
    int NumColors() { return ReadInt(TParamField::NumColors); }

private:
    int ReadInt(TParamField field) { return static_cast<int>(Read(field)); }
};

// Parameters fixed before the run: the batch tool and the tests.
class TFixedParameters : public TParameterSource {
public:
    explicit TFixedParameters(const TAnalysisParams& params = {}) : P(params) {}
    TAnalysisParams P;

    double Read(TParamField field) override { return FieldValue(P, field); }
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
