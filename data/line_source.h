#pragma once
// The lines of a text file, read in large blocks: a line ends at LF and loses the CRs just
// before its end; a Ctrl-Z ends the file; a UTF-8 byte-order mark at the start is skipped.
// A line longer than a block grows the buffer (within the memory budget), so lines have no
// length limit.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TLineSource {
public:
    // Throws EFileError when the file cannot be opened.
    TLineSource(const std::string& path, std::size_t blockSize);

    // The next line, valid until the next call; false after the last one. A line end at the
    // very end of the file starts no further line. Throws EFileError on a read failure and
    // EOutOfMemory when a line does not fit the memory budget.
    bool NextLine(std::string_view& line);

    // The 1-based number of the line holding a Ctrl-Z that is followed by more than blanks and
    // control characters (a sign of a binary or damaged file), or 0. Known once NextLine
    // returned false.
    long long TextAfterEndMarkLine() const { return textAfterEndMarkLine_; }

private:
    struct TFileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void ReadMore();
    std::size_t ReadBlock(char* into, std::size_t size);
    void CheckAfterEndMark(std::size_t markAt, std::size_t tailEnd);

    std::string path_;
    std::unique_ptr<std::FILE, TFileCloser> file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;   // first unread byte
    std::size_t scanned_ = 0; // bytes from begin_ on known to hold no LF
    std::size_t end_ = 0;     // end of the bytes read, or of the text before a Ctrl-Z
    bool atFileStart_ = true;
    bool exhausted_ = false;
    long long linesReturned_ = 0;
    long long textAfterEndMarkLine_ = 0;
};
