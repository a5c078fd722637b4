#pragma once
// A NumPy .npy file of float64 values in C order, written block by block as the matrices
// come, and put in place only when complete.

#include <cstdio>
#include <string>
#include <vector>

class TNpyWriter {
public:
    // Starts a file for an array of `shape`; throws std::runtime_error when it cannot.
    TNpyWriter(std::string path, std::vector<std::size_t> shape);
    // Removes the unfinished file unless Commit succeeded.
    ~TNpyWriter();
    TNpyWriter(const TNpyWriter&) = delete;
    TNpyWriter& operator=(const TNpyWriter&) = delete;

    void Append(const std::vector<double>& values);
    // Checks that every value arrived and renames the file into place.
    void Commit();

private:
    std::string path_;
    std::string partPath_;
    std::FILE* file_ = nullptr;
    std::size_t expected_ = 1;
    std::size_t written_ = 0;
};
