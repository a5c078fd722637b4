#include "app/status_progress.h"

#include <algorithm>

namespace {
// Per mille: the bar's range must fit an int whatever the run's row count.
constexpr int kSteps = 1000;
} // namespace

TStatusProgress::TStatusProgress(QWidget* parent) : QProgressBar(parent)
{
    setObjectName(QStringLiteral("pbWork"));
    setRange(0, kSteps);
    setMaximumWidth(200);
    setTextVisible(true);
    hide();
}

void TStatusProgress::ShowWork(qint64 done, qint64 total)
{
    if (total <= 0)
        return;
    setRange(0, kSteps);
    setValue(static_cast<int>(std::clamp<qint64>(done * kSteps / total, 0, kSteps)));
    show();
}

void TStatusProgress::ShowBusy()
{
    setRange(0, 0);
    show();
}

void TStatusProgress::Finish()
{
    hide();
    setRange(0, kSteps);
    setValue(0);
}
