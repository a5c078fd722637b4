#include "app/gui_thread_parameters.h"

#include "engine/errors.h"

#include <QObject>
#include <QThread>

#include <chrono>
#include <future>
#include <memory>

namespace {
constexpr std::chrono::milliseconds kCancelCheckInterval{20};
}

TGuiThreadParameters::TGuiThreadParameters(TParameterSource& controls, QObject& guiContext,
                                           const std::atomic<bool>& cancel)
    : FControls(controls), FContext(guiContext), FCancel(cancel)
{
}

template <class T>
T TGuiThreadParameters::Call(T (TParameterSource::*read)())
{
    if (QThread::currentThread() == FContext.thread())
        return (FControls.*read)();
    auto answer = std::make_shared<std::promise<T>>();
    std::future<T> future = answer->get_future();
    TParameterSource* controls = &FControls;
    QMetaObject::invokeMethod(
        &FContext,
        [answer, controls, read] {
            try {
                answer->set_value((controls->*read)());
            } catch (...) {
                answer->set_exception(std::current_exception());
            }
        },
        Qt::QueuedConnection);
    while (future.wait_for(kCancelCheckInterval) != std::future_status::ready) {
        if (FCancel)
            throw ECancelled();
    }
    return future.get();
}

int TGuiThreadParameters::Steps() { return Call(&TParameterSource::Steps); }
int TGuiThreadParameters::MaxScale() { return Call(&TParameterSource::MaxScale); }
int TGuiThreadParameters::MinScale() { return Call(&TParameterSource::MinScale); }
TWaveletKind TGuiThreadParameters::WaveletKind() { return Call(&TParameterSource::WaveletKind); }
double TGuiThreadParameters::ReadAlpha() { return Call(&TParameterSource::ReadAlpha); }
double TGuiThreadParameters::ReadK0() { return Call(&TParameterSource::ReadK0); }
double TGuiThreadParameters::ReadSigma() { return Call(&TParameterSource::ReadSigma); }
bool TGuiThreadParameters::L1Norm() { return Call(&TParameterSource::L1Norm); }
int TGuiThreadParameters::StepKind() { return Call(&TParameterSource::StepKind); }
int TGuiThreadParameters::OutputKind() { return Call(&TParameterSource::OutputKind); }
bool TGuiThreadParameters::WaveletContrast() { return Call(&TParameterSource::WaveletContrast); }
int TGuiThreadParameters::PaletteIndex() { return Call(&TParameterSource::PaletteIndex); }
int TGuiThreadParameters::NumColors() { return Call(&TParameterSource::NumColors); }
