#pragma once
// The lines of a text held in memory: a line ends at LF and loses the CRs just before its
// end; a Ctrl-Z ends the text; a UTF-8 byte-order mark at the start is skipped. Text that
// cannot be UTF-8 (a UTF-16 byte-order mark, a NUL byte) and lines over kMaxLineBytes are
// refused with the number of the line.

#include <cstddef>
#include <string_view>

class TLineSource {
public:
    // `text` must outlive the source. Throws EGeneric for line 1 when it starts with a UTF-16
    // byte-order mark.
    explicit TLineSource(std::string_view text);

    // The next line, a view into the text; false after the last one. A line end at the very
    // end of the text starts no further line. Throws EGeneric "Ошибка в строке :N (...)" for a
    // line that holds a NUL byte or is longer than kMaxLineBytes.
    bool NextLine(std::string_view& line);

    // How many lines the source returns in all.
    long long LineCount() const;

    // The 1-based number of the line holding a Ctrl-Z that is followed by more than blanks and
    // control characters (a sign of a binary or damaged file), or 0.
    long long TextAfterEndMarkLine() const { return textAfterEndMarkLine_; }

private:
    std::string_view text_;   // up to a Ctrl-Z
    std::size_t next_ = 0;    // first unread byte
    long long linesReturned_ = 0;
    long long textAfterEndMarkLine_ = 0;
};
