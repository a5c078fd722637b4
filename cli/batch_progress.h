#pragma once
// Progress of a batch run: each status text on its own line of stderr.

#include "engine/analysis_params.h"

#include <cstdio>

class TStderrProgress : public TCommandProgress {
public:
    void SetStatusText(const std::string& text) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void ProcessPendingMessages() override {}
};
