#include "cli/npy_writer.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

// Version 1.0 header: magic, version, header length, then a dict padded with blanks and
// ended by a newline so that the data starts at a multiple of 64 bytes.
std::string NpyHeader(const std::vector<std::size_t>& shape)
{
    std::string dims;
    for (std::size_t d : shape) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, d).ptr;
        dims.append(dims.empty() ? "" : ", ").append(digits, end);
    }
    if (shape.size() == 1)
        dims += ","; // a one-element tuple
    std::string dict = "{'descr': '<f8', 'fortran_order': False, 'shape': (" + dims + "), }";
    const std::size_t unpadded = 10 + dict.size() + 1;
    dict.append((64 - unpadded % 64) % 64, ' ');
    dict.push_back('\n');
    std::string header = "\x93NUMPY";
    header.push_back('\x01');
    header.push_back('\x00');
    header.push_back(static_cast<char>(dict.size() & 0xff));
    header.push_back(static_cast<char>(dict.size() >> 8));
    return header + dict;
}

[[noreturn]] void ThrowWriteError(const char* action, const std::string& path)
{
    throw std::runtime_error(std::string("Cannot ") + action + " file \"" + path + "\": " +
                             std::strerror(errno));
}

} // namespace

TNpyWriter::TNpyWriter(std::string path, std::vector<std::size_t> shape)
    : path_(std::move(path)), partPath_(path_ + ".part")
{
    static_assert(std::endian::native == std::endian::little, "the .npy data is little-endian");
    for (std::size_t d : shape)
        expected_ *= d;
    // Exclusive: a file of that name that is not ours is never overwritten.
    file_ = std::fopen(partPath_.c_str(), "wbx");
    if (!file_)
        ThrowWriteError("create", partPath_);
    const std::string header = NpyHeader(shape);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        const int error = errno;
        std::fclose(file_);
        std::remove(partPath_.c_str());
        errno = error;
        ThrowWriteError("write", path_);
    }
}

TNpyWriter::~TNpyWriter()
{
    if (file_) {
        std::fclose(file_);
        std::remove(partPath_.c_str());
    }
}

void TNpyWriter::Append(const std::vector<double>& values)
{
    if (std::fwrite(values.data(), sizeof(double), values.size(), file_) != values.size())
        ThrowWriteError("write", path_);
    written_ += values.size();
}

void TNpyWriter::Commit()
{
    if (written_ != expected_)
        throw std::runtime_error("File \"" + path_ + "\" did not receive every value");
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed || std::rename(partPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        std::remove(partPath_.c_str());
        errno = error;
        ThrowWriteError("write", path_);
    }
}
