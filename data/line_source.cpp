#include "data/line_source.h"

#include "data/data_errors.h"
#include "data/input_bytes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kEndMark = '\x1A';
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsText(char c) { return static_cast<unsigned char>(c) > 32; }

bool StartsWithUtf16Mark(std::string_view text)
{
    return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
}

} // namespace

TLineSource::TLineSource(std::string_view text)
{
    if (StartsWithUtf16Mark(text))
        ThrowLineError(1, "UTF-16 text; the file must be UTF-8 or plain 8-bit text");
    if (text.starts_with(kUtf8Mark))
        text.remove_prefix(kUtf8Mark.size());
    const std::size_t mark = text.find(kEndMark);
    if (mark != std::string_view::npos) {
        // What follows the mark is ignored, unless it is more than padding: that is recorded
        // against the line of the mark.
        if (std::any_of(text.begin() + static_cast<std::ptrdiff_t>(mark) + 1, text.end(), IsText))
            textAfterEndMarkLine_ =
                1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(mark), '\n');
        text = text.substr(0, mark);
    }
    text_ = text;
}

bool TLineSource::NextLine(std::string_view& line)
{
    if (next_ >= text_.size())
        return false;
    std::size_t lineEnd = text_.find('\n', next_);
    if (lineEnd == std::string_view::npos)
        lineEnd = text_.size();
    ++linesReturned_;
    if (lineEnd - next_ > kMaxLineBytes)
        ThrowLineError(linesReturned_, kLineTooLong);
    std::size_t textEnd = lineEnd;
    while (textEnd > next_ && text_[textEnd - 1] == '\r')
        --textEnd;
    line = text_.substr(next_, textEnd - next_);
    next_ = lineEnd + 1;
    if (std::memchr(line.data(), '\0', line.size()))
        ThrowLineError(linesReturned_,
                       "a NUL byte: this is no UTF-8 text, but UTF-16 or binary data");
    return true;
}

long long TLineSource::LineCount() const
{
    const long long ends = std::count(text_.begin(), text_.end(), '\n');
    return ends + (!text_.empty() && text_.back() != '\n' ? 1 : 0);
}
