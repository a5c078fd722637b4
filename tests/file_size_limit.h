#pragma once
// Caps the size of any file this process writes, for one test: a write past the cap fails
// with EFBIG ("File too large") on a real file, the way a full disk fails with ENOSPC, without
// root. SIGXFSZ, which would end the process, is ignored meanwhile.

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0)
            throw std::runtime_error("cannot read the file size limit");
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &capped) != 0)
            throw std::runtime_error("cannot set the file size limit");
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};
