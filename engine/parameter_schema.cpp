#include "engine/parameter_schema.h"

#include "engine/analysis_params.h"

#include <stdexcept>

const TFieldRange& FieldRange(TParamField field)
{
    static const TFieldRange kWavelet{TFieldType::Choice, 0, 1};
    static const TFieldRange kNumber{TFieldType::Number, -1e308, 1e308};
    static const TFieldRange kMaxScale{TFieldType::Integer, 1, 100000};
    static const TFieldRange kMinScale{TFieldType::Integer, -10000, 100000};
    static const TFieldRange kSteps{TFieldType::Integer, 30, 1000};
    static const TFieldRange kStepKind{TFieldType::Choice, 0, 2};
    static const TFieldRange kOutputKind{TFieldType::Choice, 0, 3};
    static const TFieldRange kFlag{TFieldType::Flag, 0, 1};
    static const TFieldRange kPalette{TFieldType::Choice, 0, 2};
    static const TFieldRange kNumColors{TFieldType::Choice, 0, 5};
    switch (field) {
    case TParamField::WaveletKind: return kWavelet;
    case TParamField::Alpha:
    case TParamField::K0:
    case TParamField::Sigma: return kNumber;
    case TParamField::MaxScale: return kMaxScale;
    case TParamField::MinScale: return kMinScale;
    case TParamField::Steps: return kSteps;
    case TParamField::StepKind: return kStepKind;
    case TParamField::OutputKind: return kOutputKind;
    case TParamField::L1Norm:
    case TParamField::WaveletContrast: return kFlag;
    case TParamField::PaletteIndex: return kPalette;
    case TParamField::NumColors: return kNumColors;
    }
    throw std::invalid_argument("unknown parameter field");
}

double FieldValue(const TAnalysisParams& p, TParamField field)
{
    switch (field) {
    case TParamField::WaveletKind: return p.WaveletKind;
    case TParamField::Alpha: return p.Alpha;
    case TParamField::K0: return p.K0;
    case TParamField::Sigma: return p.Sigma;
    case TParamField::MaxScale: return p.MaxScale;
    case TParamField::MinScale: return p.MinScale;
    case TParamField::Steps: return p.Steps;
    case TParamField::StepKind: return p.StepKind;
    case TParamField::OutputKind: return p.OutputKind;
    case TParamField::L1Norm: return p.L1Norm;
    case TParamField::WaveletContrast: return p.WaveletContrast;
    case TParamField::PaletteIndex: return p.PaletteIndex;
    case TParamField::NumColors: return p.NumColors;
    }
    throw std::invalid_argument("unknown parameter field");
}

void SetFieldValue(TAnalysisParams& p, TParamField field, double v)
{
    const int i = static_cast<int>(v);
    switch (field) {
    case TParamField::WaveletKind: p.WaveletKind = static_cast<TWaveletKind>(i); return;
    case TParamField::Alpha: p.Alpha = v; return;
    case TParamField::K0: p.K0 = v; return;
    case TParamField::Sigma: p.Sigma = v; return;
    case TParamField::MaxScale: p.MaxScale = i; return;
    case TParamField::MinScale: p.MinScale = i; return;
    case TParamField::Steps: p.Steps = i; return;
    case TParamField::StepKind: p.StepKind = static_cast<TScaleStep>(i); return;
    case TParamField::OutputKind: p.OutputKind = static_cast<TOutputKind>(i); return;
    case TParamField::L1Norm: p.L1Norm = i != 0; return;
    case TParamField::WaveletContrast: p.WaveletContrast = i != 0; return;
    case TParamField::PaletteIndex: p.PaletteIndex = i; return;
    case TParamField::NumColors: p.NumColors = i; return;
    }
    throw std::invalid_argument("unknown parameter field");
}

bool ScaleRangeIsImpossible(double maxScale, double minScale, double steps)
{
    return !((maxScale - minScale + 1) / steps > 0);
}

bool LogarithmicStepAllowed(double minScale) { return minScale > 0; }
