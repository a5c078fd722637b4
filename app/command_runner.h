#pragma once
// Runs one command at a time on a worker thread while the window's event loop stays live.
// The command reports through TCommandProgress (status texts and rows of work are posted to
// the GUI thread; the checkpoints throw ECancelled once Cancel was asked for) and hands back a completion
// that runs on the GUI thread, or fails and has its failure handled there.

#include "engine/analysis_params.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

class QThread;

class TCommandRunner : public QObject {
    Q_OBJECT
public:
    using TCompletion = std::function<void()>;
    using TWork = std::function<TCompletion(TCommandProgress&)>;
    using TFailureHandler = std::function<void(std::exception_ptr)>;

    explicit TCommandRunner(QObject* parent = nullptr);
    ~TCommandRunner() override; // cancels a running command and waits for it

    // Refused (false) while another command runs, including while its completion runs.
    bool Start(TWork work, TFailureHandler onFailure);
    bool IsRunning() const { return FRunning; }
    void Cancel() { FCancel = true; }
    void CancelAndWait();
    const std::atomic<bool>& CancelFlag() const { return FCancel; }

signals:
    void runningChanged(bool running);
    void statusText(const QString& text);
    // Rows of work done of the whole run's total, at most every few tens of milliseconds.
    void workProgress(qint64 done, qint64 total);
    void finished(); // after the completion or the failure handler has run

private:
    void Finish(const TCompletion& completion, std::exception_ptr failure,
                const TFailureHandler& onFailure);

    std::unique_ptr<QThread> FWorker;
    std::atomic<bool> FCancel{false};
    bool FRunning = false;
};
