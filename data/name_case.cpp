#include "data/name_case.h"

namespace {

char32_t LowerLatinExtendedA(char32_t c)
{
    if (c == 0x178)
        return 0xFF;
    const bool evenIsCapital = (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) ||
                               (c >= 0x14A && c <= 0x177);
    const bool oddIsCapital = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenIsCapital && c % 2 == 0) || (oddIsCapital && c % 2 == 1))
        return c + 1;
    return c;
}

// Lower-case of a code point of two UTF-8 bytes (U+0080..U+07FF); stays in that range.
char32_t LowerTwoByte(char32_t c)
{
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return LowerLatinExtendedA(c);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

} // namespace

std::string FoldCase(std::string_view name)
{
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto lead = static_cast<unsigned char>(folded[i]);
        if (lead >= 'A' && lead <= 'Z') {
            folded[i] = static_cast<char>(lead + ('a' - 'A'));
        } else if (lead >= 0xC2 && lead <= 0xDF && i + 1 < folded.size() &&
                   IsContinuation(static_cast<unsigned char>(folded[i + 1]))) {
            const char32_t c = (char32_t(lead & 0x1F) << 6) |
                               (static_cast<unsigned char>(folded[i + 1]) & 0x3F);
            const char32_t lower = LowerTwoByte(c);
            folded[i] = static_cast<char>(0xC0 | (lower >> 6));
            folded[i + 1] = static_cast<char>(0x80 | (lower & 0x3F));
            ++i;
        }
    }
    return folded;
}
