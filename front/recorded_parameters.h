#pragma once
// A parameter source that remembers what the command read: the values a run actually used,
// for describing its result afterwards (scales, periods, cone), whatever the controls say now.

#include "engine/analysis_params.h"

class TRecordedParameters : public TParameterSource {
public:
    explicit TRecordedParameters(TParameterSource& source) : Source(source) {}

    double Read(TParamField field) override
    {
        const double value = Source.Read(field);
        SetFieldValue(Seen, field, value);
        return value;
    }

    TAnalysisParams Seen; // fields never read keep their defaults

private:
    TParameterSource& Source;
};
