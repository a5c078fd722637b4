#pragma once
// The words of every analysis parameter: the window's control and the captions of its
// choices, and the batch tool's option with its choice words and help line. Together with
// the ranges of engine/parameter_schema.h this is the one description both front ends read.

#include "engine/parameter_schema.h"

#include <string>
#include <vector>

struct TFieldTexts {
    TParamField Field;
    std::string Widget;                   // object name of the window's control
    std::vector<std::string> Captions;    // a choice's items as the window shows them
    std::string Option;                   // the batch tool's option
    std::vector<std::string> ChoiceWords; // a choice's items on the command line
    double FlagSets = 1;                  // a flag option sets this value (--l2 clears L1Norm)
    bool OneDOnly = false;                // the option exists for 1d runs only
    std::string Help;                     // the usage line after the option and its value
};

// In the order of kAllParamFields.
const std::vector<TFieldTexts>& ParameterTexts();
const TFieldTexts& TextsOf(TParamField field);
