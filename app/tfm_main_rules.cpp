// The rules that tie the parameter controls together.

#include "app/tfm_main.h"

#include "app/frm_gauss.h"
#include "app/frm_morlet.h"
#include "engine/parameter_schema.h"
#include "ui_tfm_main.h"

#include <algorithm>

namespace {
constexpr int kPageStep = 30;
constexpr int kFrameHeight = 80;
} // namespace

void Tfm_main::teWaveMaxScaleChange()
{
    const double maxScale = ui->teWaveMaxScale->value();
    const double minScale = ui->teWaveMinScale->value();
    const double steps = ui->teNumSteps->value();
    // Only a warning: nothing is blocked by an impossible range.
    const bool impossible = ScaleRangeIsImpossible(maxScale, minScale, steps);
    ui->teWaveMaxScale->SetWarning(impossible);
    ui->teWaveMinScale->SetWarning(impossible);

    // The logarithmic step needs a positive minimum scale; once dropped, it stays dropped.
    const int old = ui->rg_steptp->ItemIndex();
    if (LogarithmicStepAllowed(minScale)) {
        ui->rg_steptp->setItems(FStepCaptions);
        ui->rg_steptp->setColumns(3);
        ui->rg_steptp->setItemIndex(std::min(int(ssLogarithmic), old));
    } else {
        ui->rg_steptp->setItems(FStepCaptions.mid(0, 2));
        ui->rg_steptp->setColumns(2);
        ui->rg_steptp->setItemIndex(std::min(int(ssQuadratic), old));
    }
    if (ui->rg_steptp->ItemIndex() < 0)
        ui->rg_steptp->setItemIndex(ssLinear);
}

void Tfm_main::teWaveMaxScaleKeyDown(TSpinEdit* sender, int key)
{
    int value = sender->value();
    if (key == Qt::Key_PageDown)
        value -= kPageStep;
    else if (key == Qt::Key_PageUp)
        value += kPageStep;
    sender->setValue(std::clamp(value, sender->minimum(), sender->maximum()));
}

void Tfm_main::cbWaveletChange()
{
    // The hidden frame keeps its texts; only the shown wavelet's parameters are read.
    const bool gaussian = ui->cbWavelet->currentIndex() == wkGaussian;
    QWidget* shown = gaussian ? static_cast<QWidget*>(frmGauss1) : frmMorlet1;
    QWidget* hidden = gaussian ? static_cast<QWidget*>(frmMorlet1) : frmGauss1;
    hidden->hide();
    shown->setFixedHeight(kFrameHeight);
    shown->show();
}
