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

double TGuiThreadParameters::Read(TParamField field)
{
    if (QThread::currentThread() == FContext.thread())
        return FControls.Read(field);
    auto answer = std::make_shared<std::promise<double>>();
    std::future<double> future = answer->get_future();
    TParameterSource* controls = &FControls;
    QMetaObject::invokeMethod(
        &FContext,
        [answer, controls, field] {
            try {
                answer->set_value(controls->Read(field));
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
