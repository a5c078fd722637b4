#include "spectrogram/ruler_ticks.h"

#include "spectrogram/sample_labels.h"

#include <algorithm>
#include <cmath>

namespace {

struct TCandidate {
    TTick Tick;
    int Rank; // lower ranks are placed first
};

// Places candidates by rank, then by position, each only where it keeps `minGap` (in
// positions) from every tick placed earlier.
std::vector<TTick> Thin(std::vector<TCandidate> candidates, double minGap)
{
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const TCandidate& a, const TCandidate& b) { return a.Rank < b.Rank; });
    std::vector<TTick> kept;
    for (const TCandidate& c : candidates) {
        const bool clear = std::none_of(kept.begin(), kept.end(), [&](const TTick& t) {
            return std::fabs(t.Position - c.Tick.Position) < minGap;
        });
        if (clear)
            kept.push_back(c.Tick);
    }
    std::sort(kept.begin(), kept.end(),
              [](const TTick& a, const TTick& b) { return a.Position < b.Position; });
    return kept;
}

// The fractional index where a monotone sequence takes `value`; -1 outside it. The ends
// count within rounding: a grid reaches its last bound only up to rounding. Labels run to a
// hundred thousand samples and more, so the place is found by bisection.
double PositionIn(const std::vector<double>& values, double value)
{
    const double span = std::fabs(values.back() - values.front());
    const double slack = 1e-9 * std::max(span, std::fabs(values.back()));
    if (std::fabs(value - values.back()) <= slack)
        return static_cast<double>(values.size() - 1);
    if (std::fabs(value - values.front()) <= slack)
        return 0.0;
    const bool ascending = values.back() >= values.front();
    const auto before = [ascending](double a, double b) { return ascending ? a < b : a > b; };
    if (before(value, values.front()) || before(values.back(), value))
        return -1.0;
    const auto next = std::upper_bound(values.begin(), values.end(), value, before);
    const std::size_t i = static_cast<std::size_t>(next - values.begin()) - 1;
    const double a = values[i], b = values[std::min(i + 1, values.size() - 1)];
    return a == b ? static_cast<double>(i) : static_cast<double>(i) + (value - a) / (b - a);
}

// Multiples of a nice step over [lo, hi], the coarser multiples (of 5 or 10 steps) ranked first.
std::vector<TCandidate> SteppedValues(double lo, double hi, double step,
                                      const std::vector<double>& where)
{
    std::vector<TCandidate> out;
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 * step; k += 1) {
        const double value = k * step;
        const double position = PositionIn(where, value);
        if (position >= 0)
            out.push_back({{value + 0.0, position}, std::fmod(k, 10) == 0 ? 0 : std::fmod(k, 5) == 0 ? 1 : 2});
    }
    return out;
}

std::vector<TCandidate> LogValues(double lo, double hi, const std::vector<double>& grid)
{
    std::vector<TCandidate> out;
    for (int e = static_cast<int>(std::floor(std::log10(lo))); e <= std::ceil(std::log10(hi)); ++e)
        for (const int m : {1, 2, 5}) {
            const double value = m * std::pow(10.0, e);
            const double position = PositionIn(grid, value);
            if (position >= 0)
                out.push_back({{value, position}, m == 1 ? 0 : 1});
        }
    return out;
}

// Ticks at the first sample of each month (January ranked first, then quarters).
std::vector<TCandidate> MonthStarts(const std::vector<double>& days)
{
    std::vector<TCandidate> out;
    long long day = static_cast<long long>(std::floor(days.front()));
    TCalendarDate date = DateOfDayCount(day);
    if (date.Day != 1) { // move to the next first of a month
        day += 32 - date.Day;
        day -= DateOfDayCount(day).Day - 1;
    }
    for (; day <= days.back(); day += 32, day -= DateOfDayCount(day).Day - 1) {
        const auto at = std::lower_bound(days.begin(), days.end(), static_cast<double>(day));
        date = DateOfDayCount(day);
        const int rank = date.Month == 1 ? 0 : (date.Month - 1) % 3 == 0 ? 1 : 2;
        out.push_back({{static_cast<double>(day), static_cast<double>(at - days.begin())}, rank});
    }
    return out;
}

std::vector<double> SampleNumbers(std::size_t count)
{
    std::vector<double> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<double>(i);
    return samples;
}

} // namespace

double NiceStep(double rough)
{
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= rough * (1 - 1e-12))
            return m * decade;
    return 10 * decade;
}

int DecimalsFor(double step)
{
    int decimals = 0;
    while (decimals < 12 && std::fabs(step - std::round(step)) > 1e-9 * std::max(1.0, step)) {
        step *= 10;
        ++decimals;
    }
    return decimals;
}

std::vector<TTick> ScaleTicks(const std::vector<double>& grid, int stepKind, double rowPixels,
                              double minGap)
{
    if (grid.empty() || !(rowPixels > 0))
        return {};
    const auto [lo, hi] = std::minmax_element(grid.begin(), grid.end());
    const double gapRows = minGap / rowPixels;
    if (*lo == *hi)
        return {{grid.front(), 0.0}};
    if (stepKind == 2 && *lo > 0) {
        std::vector<TTick> decades = Thin(LogValues(*lo, *hi, grid), gapRows);
        if (decades.size() >= 2)
            return decades;
        // A range within one decade: round values as on a linear grid.
    }
    const double fit = std::max(1.0, static_cast<double>(grid.size() - 1) / gapRows);
    return Thin(SteppedValues(*lo, *hi, NiceStep((*hi - *lo) / fit), grid), gapRows);
}

std::vector<TTick> LabelTicks(const std::vector<double>& labels, bool even, bool dates,
                              double samplePixels, double minGap)
{
    if (labels.empty() || !(samplePixels > 0))
        return {};
    const double gapSamples = minGap / samplePixels;
    const double fit = std::max(1.0, static_cast<double>(labels.size()) / gapSamples);
    if (dates && labels.back() - labels.front() >= 62) {
        std::vector<TTick> months = Thin(MonthStarts(labels), gapSamples);
        if (months.size() >= 2)
            return months;
    }
    if (even && labels.size() > 1) {
        const double span = labels.back() - labels.front();
        const double step = dates ? std::max(1.0, NiceStep(span / fit)) : NiceStep(span / fit);
        return Thin(SteppedValues(labels.front(), labels.back(), step, labels), gapSamples);
    }
    const std::vector<double> samples = SampleNumbers(labels.size());
    std::vector<TCandidate> picks =
        SteppedValues(0, static_cast<double>(labels.size() - 1), NiceStep(labels.size() / fit),
                      samples);
    for (TCandidate& c : picks)
        c.Tick.Value = labels[static_cast<std::size_t>(c.Tick.Position)];
    return Thin(std::move(picks), gapSamples);
}
