#pragma once
// Every analysis parameter as a field: its kind and range, how to read and set it in a
// TAnalysisParams, and the rules that tie fields together. The window's controls, the batch
// tool's options and the commands' reads all key on these fields, so a new parameter is a
// new field here, its texts (front/parameter_texts.h) and its control.

#include "engine/analysis_kinds.h"

struct TAnalysisParams;

enum class TParamField {
    WaveletKind,
    Alpha,
    K0,
    Sigma,
    MaxScale,
    MinScale,
    Steps,
    StepKind,
    OutputKind,
    L1Norm,
    WaveletContrast,
    PaletteIndex,
    NumColors,
};

inline constexpr TParamField kAllParamFields[] = {
    TParamField::WaveletKind, TParamField::Alpha,        TParamField::K0,
    TParamField::Sigma,       TParamField::MaxScale,     TParamField::MinScale,
    TParamField::Steps,       TParamField::StepKind,     TParamField::OutputKind,
    TParamField::L1Norm,      TParamField::WaveletContrast, TParamField::PaletteIndex,
    TParamField::NumColors,
};

// Integer: a whole number in [Min, Max]; Number: any finite double (a wavelet parameter);
// Flag: 0 or 1; Choice: an item index 0..Max.
enum class TFieldType { Integer, Number, Flag, Choice };

struct TFieldRange {
    TFieldType Type;
    double Min;
    double Max;
};

const TFieldRange& FieldRange(TParamField field);

// A field's value as a double (item indices, whole numbers and flags are exact).
double FieldValue(const TAnalysisParams& params, TParamField field);
// Sets a field from a double already in its range.
void SetFieldValue(TAnalysisParams& params, TParamField field, double value);

// The scale boxes warn (they turn red) when the range holds no whole step; nothing is
// blocked by it.
bool ScaleRangeIsImpossible(double maxScale, double minScale, double steps);

// The logarithmic step is offered only for a positive minimum scale.
bool LogarithmicStepAllowed(double minScale);
