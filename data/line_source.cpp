#include "data/line_source.h"

#include "data/data_errors.h"
#include "engine/memory_budget.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

constexpr char kEndMark = '\x1A';

std::string FileMessage(const char* action, const std::string& path, int error)
{
    return std::string("Cannot ") + action + " file \"" + path + "\": " + std::strerror(error);
}

bool IsText(char c) { return static_cast<unsigned char>(c) > 32; }

} // namespace

TLineSource::TLineSource(const std::string& path, std::size_t blockSize)
    : path_(path), file_(std::fopen(path.c_str(), "rb"))
{
    if (!file_)
        throw EFileError(FileMessage("open", path, errno));
    // A small file needs no full block; one byte more lets a single read see its end.
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (!error && fileSize < blockSize)
        blockSize = std::max<std::size_t>(static_cast<std::size_t>(fileSize) + 1, 4096);
    buffer_.resize(blockSize);
}

bool TLineSource::NextLine(std::string_view& line)
{
    for (;;) {
        const char* const base = buffer_.data();
        const void* lf = std::memchr(base + begin_ + scanned_, '\n', end_ - begin_ - scanned_);
        std::size_t lineEnd = 0;
        if (lf) {
            lineEnd = static_cast<std::size_t>(static_cast<const char*>(lf) - base);
        } else if (!exhausted_) {
            scanned_ = end_ - begin_;
            ReadMore();
            continue;
        } else if (begin_ < end_) {
            lineEnd = end_;
        } else {
            return false;
        }
        std::size_t textEnd = lineEnd;
        while (textEnd > begin_ && base[textEnd - 1] == '\r')
            --textEnd;
        line = std::string_view(base + begin_, textEnd - begin_);
        begin_ = std::min(lineEnd + 1, end_);
        scanned_ = 0;
        ++linesReturned_;
        return true;
    }
}

// Moves the unread bytes to the front, growing the buffer when they fill it, and appends the
// next block; notes when the file, or its text before a Ctrl-Z, is used up.
void TLineSource::ReadMore()
{
    const std::size_t pending = end_ - begin_;
    std::memmove(buffer_.data(), buffer_.data() + begin_, pending);
    begin_ = 0;
    end_ = pending;
    if (pending == buffer_.size()) {
        const std::size_t grown = CheckedMul(buffer_.size(), 2, "a line of the file");
        RequireMemory(grown, "a line of the file");
        buffer_.resize(grown);
    }
    std::size_t got = ReadBlock(buffer_.data() + end_, buffer_.size() - end_);
    if (atFileStart_) {
        atFileStart_ = false;
        if (got >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) {
            std::memmove(buffer_.data(), buffer_.data() + 3, got - 3);
            got -= 3;
        }
    }
    const void* mark = std::memchr(buffer_.data() + end_, kEndMark, got);
    if (mark) {
        const auto markAt = static_cast<std::size_t>(static_cast<const char*>(mark) - buffer_.data());
        CheckAfterEndMark(markAt, end_ + got);
        end_ = markAt;
        exhausted_ = true;
    } else {
        end_ += got;
        exhausted_ = got == 0;
    }
}

std::size_t TLineSource::ReadBlock(char* into, std::size_t size)
{
    const std::size_t got = std::fread(into, 1, size, file_.get());
    if (got < size && std::ferror(file_.get()))
        throw EFileError(FileMessage("read", path_, errno));
    return got;
}

// A Ctrl-Z marks the end of a text file and what follows it is ignored, unless it is more
// than padding: that is recorded against the line of the mark.
void TLineSource::CheckAfterEndMark(std::size_t markAt, std::size_t tailEnd)
{
    const char* const base = buffer_.data();
    bool textFollows = std::any_of(base + markAt + 1, base + tailEnd, IsText);
    std::vector<char> rest;
    while (!textFollows) {
        rest.resize(64 * 1024);
        const std::size_t got = ReadBlock(rest.data(), rest.size());
        if (got == 0)
            break;
        textFollows = std::any_of(rest.data(), rest.data() + got, IsText);
    }
    if (textFollows)
        textAfterEndMarkLine_ = linesReturned_ + 1 + std::count(base + begin_, base + markAt, '\n');
}
