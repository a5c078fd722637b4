#include "app/parameter_controls.h"

#include "engine/errors.h"
#include "data/number_reader.h"
#include "app/radio_group.h"
#include "front/regional_format_qt.h"
#include "app/spin_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>

namespace {

double ReadEdit(const QLineEdit* edit)
{
    return ReadWaveletNumber(edit->text(), RegionalFormatFromLocale(QLocale::system()));
}

} // namespace

double ReadWaveletNumber(const QString& text, const RegionalFormat& format)
{
    const std::string bytes = text.toStdString();
    if (std::optional<double> value = ReadNumber(TrimField(bytes), format))
        return *value;
    throw EConvertError("'" + bytes + "' is not a valid floating point value");
}

int TParameterControls::Steps() { return W.teNumSteps->value(); }
int TParameterControls::MaxScale() { return W.teWaveMaxScale->value(); }
int TParameterControls::MinScale() { return W.teWaveMinScale->value(); }

TWaveletKind TParameterControls::WaveletKind()
{
    return W.cbWavelet->currentIndex() == wkMorlet ? wkMorlet : wkGaussian;
}

double TParameterControls::ReadAlpha() { return ReadEdit(W.wvAlpha); }
double TParameterControls::ReadK0() { return ReadEdit(W.wvK0); }
double TParameterControls::ReadSigma() { return ReadEdit(W.wvSIGMA); }
bool TParameterControls::L1Norm() { return W.cb_mscale->isChecked(); }
int TParameterControls::StepKind() { return W.rg_steptp->ItemIndex(); }
int TParameterControls::OutputKind() { return W.rg_phase->ItemIndex(); }
bool TParameterControls::WaveletContrast() { return W.cbGaussZ->isChecked(); }
int TParameterControls::PaletteIndex() { return W.cb_palette->currentIndex(); }
int TParameterControls::NumColors() { return W.cb_numcolors->currentIndex(); }
