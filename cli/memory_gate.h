#pragma once
// One memory budget shared by the files of a run that go side by side: a file waits until
// its estimate fits beside those running. A file alone is always let through (its own checks
// then refuse what cannot fit at all).

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

class TMemoryGate {
public:
    explicit TMemoryGate(std::size_t capacity) : FCapacity(capacity) {}

    // Holds its bytes until destroyed.
    class TTicket {
    public:
        TTicket(TMemoryGate& gate, std::size_t bytes) : FGate(gate), FBytes(bytes) {}
        ~TTicket() { FGate.Release(FBytes); }
        TTicket(const TTicket&) = delete;
        TTicket& operator=(const TTicket&) = delete;

    private:
        TMemoryGate& FGate;
        std::size_t FBytes;
    };

    // Waits until `bytes` fit; `checkCancelled` is called while waiting and may throw.
    std::size_t Reserve(std::size_t bytes, const std::function<void()>& checkCancelled);

private:
    friend class TTicket;
    void Release(std::size_t bytes);

    const std::size_t FCapacity;
    std::size_t FInUse = 0;
    std::mutex FLock;
    std::condition_variable FFreed;
};
