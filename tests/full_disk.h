#pragma once
// A small tmpfs mounted on a test's folder, so that writes into it run out of space: root
// only; Mounted() says whether it could be made (skip the test otherwise).

#include <string>
#include <sys/mount.h>
#include <unistd.h>

class TFullDisk {
public:
    explicit TFullDisk(const std::string& folder, const char* size = "size=64k") : folder_(folder)
    {
        mounted_ = geteuid() == 0 && mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0;
    }
    ~TFullDisk()
    {
        if (mounted_)
            umount(folder_.c_str());
    }
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};
