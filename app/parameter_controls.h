#pragma once
// The analysis parameters as the window's controls hold them, read on the GUI thread. Each
// field's control is found by the object name the parameter texts give it.

#include "engine/analysis_params.h"
#include "data/regional_format.h"

#include <QString>

#include <vector>

class QWidget;

class TParameterControls : public TParameterSource {
public:
    // `form` holds, among its descendants, the control of every field (the wavelet frames
    // included). Throws std::logic_error naming a control that is missing.
    explicit TParameterControls(const QWidget& form);

    double Read(TParamField field) override;

private:
    std::vector<QWidget*> FControls; // in the order of kAllParamFields
};

// A wavelet parameter as the user typed it: blanks around it allowed, the regional decimal
// separator, an optional exponent. Throws EConvertError
// "'<text>' is not a valid floating point value" for anything else.
double ReadWaveletNumber(const QString& text, const RegionalFormat& format);
