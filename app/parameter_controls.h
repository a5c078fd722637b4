#pragma once
// The analysis parameters as the window's controls hold them, read on the GUI thread.

#include "engine/analysis_params.h"
#include "data/regional_format.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TRadioGroup;
class TSpinEdit;

struct TParameterWidgets {
    QComboBox* cbWavelet;
    TSpinEdit* teWaveMaxScale;
    TSpinEdit* teWaveMinScale;
    TSpinEdit* teNumSteps;
    QCheckBox* cb_mscale;
    QCheckBox* cbGaussZ;
    TRadioGroup* rg_phase;
    TRadioGroup* rg_steptp;
    QComboBox* cb_palette;
    QComboBox* cb_numcolors;
    QLineEdit* wvAlpha;
    QLineEdit* wvK0;
    QLineEdit* wvSIGMA;
};

class TParameterControls : public TParameterSource {
public:
    explicit TParameterControls(const TParameterWidgets& widgets) : W(widgets) {}

    int Steps() override;
    int MaxScale() override;
    int MinScale() override;
    TWaveletKind WaveletKind() override;
    double ReadAlpha() override;
    double ReadK0() override;
    double ReadSigma() override;
    bool L1Norm() override;
    int StepKind() override;
    int OutputKind() override;
    bool WaveletContrast() override;
    int PaletteIndex() override;
    int NumColors() override;

private:
    TParameterWidgets W;
};

// A wavelet parameter as the user typed it: blanks around it allowed, the regional decimal
// separator, an optional exponent. Throws EConvertError
// "'<text>' is not a valid floating point value" for anything else.
double ReadWaveletNumber(const QString& text, const RegionalFormat& format);
