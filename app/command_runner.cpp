#include "app/command_runner.h"

#include "engine/errors.h"
#include "front/work_counter.h"

#include <QThread>

namespace {

// The progress bar needs no more than this; more frequent posts would only fill the queue.
constexpr std::chrono::milliseconds kProgressInterval{50};

class TPostingProgress : public TCommandProgress {
public:
    explicit TPostingProgress(TCommandRunner& runner, const std::atomic<bool>& cancel)
        : FRunner(runner), FCancel(cancel), FWork(kProgressInterval) {}

    void SetStatusText(const std::string& text) override
    {
        TCommandRunner* runner = &FRunner;
        QMetaObject::invokeMethod(
            runner, [runner, text = QString::fromStdString(text)] { emit runner->statusText(text); },
            Qt::QueuedConnection);
    }

    void ProcessPendingMessages() override { CheckCancelled(); }

    void CheckCancelled() override
    {
        if (FCancel.load(std::memory_order_relaxed))
            throw ECancelled();
    }

    void WorkDone(std::int64_t rows, std::int64_t total) override
    {
        if (!FWork.Add(rows, total))
            return;
        TCommandRunner* runner = &FRunner;
        const qint64 done = FWork.Done();
        const qint64 all = FWork.Total();
        QMetaObject::invokeMethod(
            runner, [runner, done, all] { emit runner->workProgress(done, all); },
            Qt::QueuedConnection);
    }

private:
    TCommandRunner& FRunner;
    const std::atomic<bool>& FCancel;
    TWorkCounter FWork;
};

} // namespace

TCommandRunner::TCommandRunner(QObject* parent) : QObject(parent) {}

TCommandRunner::~TCommandRunner()
{
    CancelAndWait();
}

void TCommandRunner::CancelAndWait()
{
    FCancel = true;
    if (FWorker)
        FWorker->wait();
}

bool TCommandRunner::Start(TWork work, TFailureHandler onFailure)
{
    if (FRunning)
        return false;
    FRunning = true;
    FCancel = false;
    FWorker.reset(QThread::create([this, work = std::move(work), onFailure = std::move(onFailure)] {
        TPostingProgress progress(*this, FCancel);
        TCompletion completion;
        std::exception_ptr failure;
        try {
            completion = work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, completion, failure, onFailure] { Finish(completion, failure, onFailure); },
            Qt::QueuedConnection);
    }));
    emit runningChanged(true);
    FWorker->start();
    return true;
}

void TCommandRunner::Finish(const TCompletion& completion, std::exception_ptr failure,
                            const TFailureHandler& onFailure)
{
    FWorker->wait();
    FWorker.reset();
    if (!failure && completion) {
        try {
            completion();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (failure)
        onFailure(failure);
    FRunning = false;
    emit runningChanged(false);
    emit finished();
}
