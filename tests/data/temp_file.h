#pragma once
// A file with given bytes in the temporary folder, removed when the test ends.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

class TTempFile {
public:
    explicit TTempFile(std::string_view bytes, const std::string& extension = ".txt")
    {
        static std::atomic<int> counter{0};
        path_ = (std::filesystem::temp_directory_path() /
                 ("tulvo_data_" + std::to_string(getpid()) + "_" + std::to_string(counter++) +
                  extension))
                    .string();
        std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TTempFile() { std::filesystem::remove(path_); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
