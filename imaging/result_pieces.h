#pragma once
// The pieces the library writes for one frame (a one-frame GIF, a one-page TIFF), joined into
// the animation and the multi-page file, so that only one frame is ever decoded at once. For
// imaging/'s own files.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace result_pieces {

// Repetitions of the animation; 0 means for ever.
constexpr unsigned kEndlessLoop = 0;

using TBytes = std::vector<std::uint8_t>;

// A piece of the library's output that the joining does not know.
struct TUnknownPiece {};

// --- GIF: header, logical screen and global colours of the first frame, the loop
// extension, then every frame's extensions and image, then the trailer. ---

class TGifAnimation {
public:
    void Add(const TBytes& gif)
    {
        if (gif.size() < 14 || std::memcmp(gif.data(), "GIF8", 4) != 0)
            throw TUnknownPiece();
        const std::uint8_t screen = gif[10];
        const std::size_t colours = screen & 0x80 ? 3 * (std::size_t(2) << (screen & 7)) : 0;
        std::size_t at = 13 + colours;
        if (at > gif.size())
            throw TUnknownPiece();
        const TBytes table(gif.begin() + 13, gif.begin() + static_cast<long>(at));
        if (Out.empty()) {
            Out.assign(gif.begin(), gif.begin() + static_cast<long>(at));
            std::memcpy(Out.data(), "GIF89a", 6);
            Global = table;
            const std::uint8_t loop[] = {0x21, 0xff, 0x0b, 'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                         'E',  '2',  '.',  '0', 0x03, 0x01,
                                         kEndlessLoop & 0xff, kEndlessLoop >> 8, 0x00};
            Out.insert(Out.end(), std::begin(loop), std::end(loop));
        }
        for (;;) {
            const std::uint8_t kind = Byte(gif, at);
            if (kind == 0x3b)
                return;
            if (kind == 0x21) {
                const std::size_t end = SubBlocksEnd(gif, at + 2);
                if (Byte(gif, at + 1) != 0xff) // the loop extension is written once, above
                    Out.insert(Out.end(), gif.begin() + static_cast<long>(at),
                               gif.begin() + static_cast<long>(end));
                at = end;
            } else if (kind == 0x2c) {
                at = AddImage(gif, at, screen, table);
            } else {
                throw TUnknownPiece();
            }
        }
    }

    TBytes Finish()
    {
        Out.push_back(0x3b);
        return std::move(Out);
    }
    void Reserve(std::size_t bytes) { Out.reserve(bytes); }

private:
    static std::uint8_t Byte(const TBytes& b, std::size_t at)
    {
        if (at >= b.size())
            throw TUnknownPiece();
        return b[at];
    }

    static std::size_t SubBlocksEnd(const TBytes& b, std::size_t at)
    {
        while (std::uint8_t length = Byte(b, at))
            at += length + 1u;
        return at + 1;
    }

    // An image whose colours are not the global ones takes them along as its local table.
    std::size_t AddImage(const TBytes& gif, std::size_t at, std::uint8_t screen,
                         const TBytes& table)
    {
        const std::uint8_t packed = Byte(gif, at + 9);
        const std::size_t local = packed & 0x80 ? 3 * (std::size_t(2) << (packed & 7)) : 0;
        const std::size_t data = at + 10 + local;
        const std::size_t end = SubBlocksEnd(gif, data + 1);
        const std::size_t start = Out.size();
        Out.insert(Out.end(), gif.begin() + static_cast<long>(at),
                   gif.begin() + static_cast<long>(at + 10));
        if (!local && table != Global) {
            if (!(screen & 0x80))
                throw TUnknownPiece();
            Out[start + 9] = static_cast<std::uint8_t>((packed & 0x60) | 0x80 | (screen & 7));
            Out.insert(Out.end(), table.begin(), table.end());
        }
        Out.insert(Out.end(), gif.begin() + static_cast<long>(at + 10),
                   gif.begin() + static_cast<long>(end));
        return end;
    }

    TBytes Out;
    TBytes Global;
};

// --- TIFF: the header, then for every page its strips, its values that do not fit in a
// directory entry and its directory, with every offset moved and the directories chained. ---

class TTiffPages {
public:
    explicit TTiffPages(std::size_t pages) : Pages(pages) {}

    void Add(const TBytes& tiff)
    {
        In = &tiff;
        if (tiff.size() < 8 || !(tiff[0] == tiff[1] && (tiff[0] == 'I' || tiff[0] == 'M')))
            throw TUnknownPiece();
        const bool little = tiff[0] == 'I';
        if (Out.empty()) {
            Little = little;
            Out.assign(tiff.begin(), tiff.begin() + 4);
            Out.resize(8, 0);
            NextLink = 4;
        } else if (little != Little) {
            throw TUnknownPiece();
        }
        if (Read(2, 2) != 42)
            throw TUnknownPiece();
        const std::size_t directory = Read(4, 4);
        const std::size_t count = Read(directory, 2);
        std::vector<TEntry> entries;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t e = directory + 2 + 12 * k;
            entries.push_back({static_cast<std::uint16_t>(Read(e, 2)),
                               static_cast<std::uint16_t>(Read(e + 2, 2)), Read(e + 4, 4),
                               {tiff[Check(e + 8, 4)], tiff[e + 9], tiff[e + 10], tiff[e + 11]}});
        }
        for (TEntry& entry : entries)
            MoveEntry(entry, entries);
        Align();
        const std::size_t at = Out.size();
        Write(NextLink, at, 4);
        Append(count, 2);
        for (const TEntry& entry : entries) {
            Append(entry.Tag, 2);
            Append(entry.Type, 2);
            Append(entry.Count, 4);
            Out.insert(Out.end(), std::begin(entry.Value), std::end(entry.Value));
        }
        NextLink = Out.size();
        Append(0, 4);
        if (Out.size() > std::numeric_limits<std::uint32_t>::max())
            throw EImageError("Cannot write the TIFF file: it would exceed 4 GiB");
        ++Page;
        In = nullptr;
    }

    TBytes Finish() { return std::move(Out); }
    void Reserve(std::size_t bytes) { Out.reserve(bytes); }

private:
    struct TEntry {
        std::uint16_t Tag;
        std::uint16_t Type;
        std::size_t Count;
        std::uint8_t Value[4];
    };

    static std::size_t TypeSize(std::uint16_t type)
    {
        static const std::size_t sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
        if (type == 0 || type >= std::size(sizes))
            throw TUnknownPiece();
        return sizes[type];
    }

    std::size_t Check(std::size_t at, std::size_t length) const
    {
        if (at > In->size() || length > In->size() - at)
            throw TUnknownPiece();
        return at;
    }

    std::size_t Read(std::size_t at, int bytes) const
    {
        Check(at, static_cast<std::size_t>(bytes));
        std::size_t v = 0;
        for (int k = 0; k < bytes; ++k)
            v |= std::size_t((*In)[at + (Little ? k : bytes - 1 - k)]) << (8 * k);
        return v;
    }

    void Write(std::size_t at, std::size_t v, int bytes)
    {
        for (int k = 0; k < bytes; ++k)
            Out[at + (Little ? k : bytes - 1 - k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }

    void Append(std::size_t v, int bytes)
    {
        Out.resize(Out.size() + static_cast<std::size_t>(bytes));
        Write(Out.size() - static_cast<std::size_t>(bytes), v, bytes);
    }

    void Align()
    {
        if (Out.size() % 2)
            Out.push_back(0);
    }

    // Value `index` of `bytes` bytes held in the entry itself.
    std::size_t ReadValue(const TEntry& e, std::size_t index, int bytes) const
    {
        std::size_t v = 0;
        for (int k = 0; k < bytes; ++k)
            v |= std::size_t(e.Value[index * bytes + (Little ? k : bytes - 1 - k)]) << (8 * k);
        return v;
    }

    // The values of an entry, as numbers (for offsets and counts, SHORT or LONG).
    std::vector<std::size_t> Numbers(const TEntry& e) const
    {
        const std::size_t size = TypeSize(e.Type);
        if (e.Type != 3 && e.Type != 4)
            throw TUnknownPiece();
        std::vector<std::size_t> numbers;
        if (e.Count * size <= 4) {
            for (std::size_t k = 0; k < e.Count; ++k)
                numbers.push_back(ReadValue(e, k, static_cast<int>(size)));
        } else {
            const std::size_t at = ReadValue(e, 0, 4);
            for (std::size_t k = 0; k < e.Count; ++k)
                numbers.push_back(Read(at + k * size, static_cast<int>(size)));
        }
        return numbers;
    }

    const TEntry* Find(const std::vector<TEntry>& entries, std::uint16_t tag) const
    {
        for (const TEntry& e : entries)
            if (e.Tag == tag)
                return &e;
        return nullptr;
    }

    void MoveEntry(TEntry& e, const std::vector<TEntry>& entries)
    {
        // Entries that point at further directories or at data this joining cannot tell.
        for (std::uint16_t pointer : {288, 289, 330, 513, 34665, 34853, 40965})
            if (e.Tag == pointer)
                throw TUnknownPiece();
        const std::size_t size = TypeSize(e.Type);
        if (e.Count > (std::numeric_limits<std::uint32_t>::max)() / size)
            throw TUnknownPiece();
        if (e.Tag == 297 && e.Type == 3 && e.Count == 2) { // PageNumber: this page of all
            const std::uint16_t numbers[2] = {static_cast<std::uint16_t>(Page),
                                              static_cast<std::uint16_t>(Pages)};
            for (int k = 0; k < 2; ++k)
                for (int b = 0; b < 2; ++b)
                    e.Value[2 * k + (Little ? b : 1 - b)] =
                        static_cast<std::uint8_t>(numbers[k] >> (8 * b));
            return;
        }
        if (e.Tag == 273 || e.Tag == 324) { // strip or tile offsets: move the data itself
            const TEntry* lengths = Find(entries, e.Tag == 273 ? 279 : 325);
            if (!lengths)
                throw TUnknownPiece();
            const std::vector<std::size_t> offsets = Numbers(e), counts = Numbers(*lengths);
            if (offsets.size() != counts.size() || e.Type != 4)
                throw TUnknownPiece();
            std::vector<std::size_t> moved;
            for (std::size_t k = 0; k < offsets.size(); ++k) {
                Check(offsets[k], counts[k]);
                Align();
                moved.push_back(Out.size());
                Out.insert(Out.end(), In->begin() + static_cast<long>(offsets[k]),
                           In->begin() + static_cast<long>(offsets[k] + counts[k]));
            }
            StoreNumbers(e, moved);
            return;
        }
        if (e.Count * size <= 4)
            return;
        const std::size_t at = Check(ReadValue(e, 0, 4), e.Count * size);
        Align();
        const std::size_t to = Out.size();
        Out.insert(Out.end(), In->begin() + static_cast<long>(at),
                   In->begin() + static_cast<long>(at + e.Count * size));
        SetValue(e, to);
    }

    void StoreNumbers(TEntry& e, const std::vector<std::size_t>& numbers)
    {
        if (numbers.size() == 1) {
            SetValue(e, numbers[0]);
            return;
        }
        Align();
        const std::size_t to = Out.size();
        for (std::size_t n : numbers)
            Append(n, 4);
        SetValue(e, to);
    }

    void SetValue(TEntry& e, std::size_t v)
    {
        for (int k = 0; k < 4; ++k)
            e.Value[Little ? k : 3 - k] = static_cast<std::uint8_t>(v >> (8 * k));
    }

    std::size_t Pages;
    std::size_t Page = 0;
    bool Little = true;
    const TBytes* In = nullptr;
    TBytes Out;
    std::size_t NextLink = 4;
};

} // namespace result_pieces
