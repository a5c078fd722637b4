#pragma once
// Lets a command on a worker thread read the window's controls: every call is posted to the
// GUI thread and waited for, so the command sees each control as it stands at that moment.
// While waiting it watches the cancel flag, so a window that stops the command (and perhaps
// waits for it) never deadlocks against a pending read.

#include "engine/analysis_params.h"

#include <atomic>

class QObject;

class TGuiThreadParameters : public TParameterSource {
public:
    // `controls` is read only on the thread of `guiContext`.
    TGuiThreadParameters(TParameterSource& controls, QObject& guiContext,
                         const std::atomic<bool>& cancel);

    double Read(TParamField field) override;

private:
    TParameterSource& FControls;
    QObject& FContext;
    const std::atomic<bool>& FCancel;
};
