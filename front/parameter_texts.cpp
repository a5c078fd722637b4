#include "front/parameter_texts.h"

#include <stdexcept>

const std::vector<TFieldTexts>& ParameterTexts()
{
    using F = TParamField;
    static const std::vector<TFieldTexts> kTexts = {
        {F::WaveletKind, "cbWavelet", {"1.Gaussian", "2.Morlet"}, "--wavelet",
         {"gauss", "morlet"}, 1, false, "wavelet"},
        {F::Alpha, "wvAlpha", {}, "--alpha", {}, 1, false, "Gaussian parameter Alpha"},
        {F::K0, "wvK0", {}, "--k0", {}, 1, false, "Morlet parameter K0"},
        {F::Sigma, "wvSIGMA", {}, "--sigma", {}, 1, false, "Morlet parameter Sigma"},
        {F::MaxScale, "teWaveMaxScale", {}, "--max-scale", {}, 1, false, "largest scale"},
        {F::MinScale, "teWaveMinScale", {}, "--min-scale", {}, 1, false, "smallest scale"},
        {F::Steps, "teNumSteps", {}, "--steps", {}, 1, true, "number of scales"},
        {F::StepKind, "rg_steptp", {"Линейный", "Квадратичный", "Логарифмический"}, "--step",
         {"linear", "quadratic", "log"}, 1, false,
         "scale step (log needs a minimum scale of 1 or more)"},
        {F::OutputKind, "rg_phase",
         {"1.логарифм действительной части", "2.действительная ча", "3.фаза",
          "4.Re /StdDev(Re)"},
         "--output", {"logreal", "real", "phase", "stddev"}, 1, false, "output quantity"},
        {F::L1Norm, "cb_mscale", {}, "--l2", {}, 0, true,
         "L2 scale normalisation instead of L1"},
        {F::WaveletContrast, "cbGaussZ", {}, "--contrast", {}, 1, false,
         "wavelet-contrast pass"},
        {F::PaletteIndex, "cb_palette", {"Палитра 1", "Палитра 2", "Палитра 3"}, "--palette",
         {"1", "2", "3"}, 1, false, "palette"},
        {F::NumColors, "cb_numcolors",
         {"4 цвета", "8 цветов", "16 цветов", "24 цвета", "32 цвета", "64 цвета"}, "--colors",
         {"4", "8", "16", "24", "32", "64"}, 1, false, "number of colours"},
    };
    return kTexts;
}

const TFieldTexts& TextsOf(TParamField field)
{
    for (const TFieldTexts& texts : ParameterTexts())
        if (texts.Field == field)
            return texts;
    throw std::invalid_argument("unknown parameter field");
}
