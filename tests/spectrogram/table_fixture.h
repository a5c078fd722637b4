#pragma once
// Small in-memory tables for the picture tests.

#include "engine/analysis_params.h"
#include "data/data_table.h"

#include <string>
#include <vector>

// A table with label column `labelName` of `kind` holding `labels`, then one number column per
// entry of `series` (named S1, S2, ...), each as long as `labels`.
TDataTable MakeTable(const std::string& labelName, TColumnKind kind,
                     const std::vector<double>& labels,
                     const std::vector<std::vector<double>>& series);

// Labels 1, 2, ..., n.
std::vector<double> Counting(int n);

// Records status texts; never cancels.
class TRecordingProgress : public TCommandProgress {
public:
    std::vector<std::string> Texts;
    void SetStatusText(const std::string& text) override { Texts.push_back(text); }
    void ProcessPendingMessages() override {}
};
