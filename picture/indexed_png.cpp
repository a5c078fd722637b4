#include "picture/indexed_png.h"

#include "engine/parallel_rows.h"
#include "engine/vector_clones.h"
#include "imaging/imagick.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

// A piece holds at least this many bytes of filtered rows: enough that priming and flushing
// cost nothing next to the compression, few enough that the cores share the picture evenly.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
// Deflate looks back this far: each piece is primed with the bytes before it.
constexpr std::size_t kWindowBytes = 32768;

void AppendU32(TBytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Crc(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count)
{
    return static_cast<std::uint32_t>(crc32_z(crc, bytes, count));
}

// A whole chunk: length, type, data and the CRC of type and data.
TBytes Chunk(const char (&type)[5], const TBytes& data)
{
    TBytes chunk;
    chunk.reserve(data.size() + 12);
    AppendU32(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    AppendU32(chunk, Crc(0, chunk.data() + 4, chunk.size() - 4));
    return chunk;
}

TBytes HeaderData(const QImage& picture)
{
    TBytes data;
    AppendU32(data, static_cast<std::uint32_t>(picture.width()));
    AppendU32(data, static_cast<std::uint32_t>(picture.height()));
    // 8 bits, colour type 3 (palette), deflate, the per-row filters, no interlace.
    for (const std::uint8_t b : {8, 3, 0, 0, 0})
        data.push_back(b);
    return data;
}

TBytes PaletteData(const QImage& picture)
{
    TBytes data;
    for (const QRgb colour : picture.colorTable())
        for (const int part : {qRed(colour), qGreen(colour), qBlue(colour)})
            data.push_back(static_cast<std::uint8_t>(part));
    return data;
}

TBytes ResolutionData(const QImage& picture)
{
    TBytes data;
    AppendU32(data, static_cast<std::uint32_t>(picture.dotsPerMeterX()));
    AppendU32(data, static_cast<std::uint32_t>(picture.dotsPerMeterY()));
    data.push_back(1); // per metre
    return data;
}

// The two bytes that open a zlib stream of a 32 KB window, with the level's hint.
std::array<std::uint8_t, 2> ZlibHeader(int level)
{
    const int hint = level == Z_DEFAULT_COMPRESSION ? 2
                     : level < 2                   ? 0
                     : level < 6                   ? 1
                     : level == 6                  ? 2
                                                   : 3;
    const int cmf = 0x78;
    int flg = hint << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    return {static_cast<std::uint8_t>(cmf), static_cast<std::uint8_t>(flg)};
}

// PNG's filter "up": each byte less the one above it (none above the first row), modulo 256.
// Neighbouring rows of a spectrogram (neighbouring scales) are much alike, so the differences
// are mostly zeros: on the picture of 100 000 samples x 1000 scales zlib then makes 6.9 MB in
// 0.26 s instead of 16.3 MB in 0.58 s without a filter.
constexpr std::uint8_t kFilterUp = 2;

TULVO_WIDE_VECTORS void UpDifferences(const std::uint8_t* row, const std::uint8_t* above,
                                      std::size_t width, std::uint8_t* out)
{
    for (std::size_t x = 0; x < width; ++x)
        out[x] = static_cast<std::uint8_t>(row[x] - above[x]);
}

// Rows [begin, end) of the picture as PNG's filtered stream: each row after its filter byte.
void FilteredRows(const QImage& picture, int begin, int end, TBytes& out)
{
    const std::size_t width = static_cast<std::size_t>(picture.width());
    out.resize(static_cast<std::size_t>(end - begin) * (width + 1));
    std::uint8_t* at = out.data();
    for (int y = begin; y < end; ++y) {
        *at++ = kFilterUp;
        if (y == 0)
            std::memcpy(at, picture.constScanLine(y), width);
        else
            UpDifferences(picture.constScanLine(y), picture.constScanLine(y - 1), width, at);
        at += width;
    }
}

// One piece, ready to be written: a whole IDAT chunk, and what the stream's checksum needs.
struct TPiece {
    TBytes Chunk;
    std::uint32_t Adler = 0; // of the piece's filtered bytes
    std::size_t Length = 0; // of the piece's filtered bytes
};

class TPieceMaker {
public:
    TPieceMaker(const QImage& picture, TDeflateChoice deflate, const std::string& targetPath)
        : Picture(picture), Choice(deflate), TargetPath(targetPath),
          RowsPerPiece(static_cast<int>(std::max<std::size_t>(
              1, kPieceBytes / (static_cast<std::size_t>(picture.width()) + 1)))),
          Count((picture.height() + RowsPerPiece - 1) / RowsPerPiece)
    {
    }

    int Pieces() const { return Count; }

    // Piece i, deflated with the bytes before it as its dictionary; the first opens the zlib
    // stream and the last ends the deflate data. `rows` is the caller's scratch.
    TPiece Make(int i, TBytes& rows) const
    {
        const std::size_t rowBytes = static_cast<std::size_t>(Picture.width()) + 1;
        const int begin = i * RowsPerPiece;
        const int end = std::min(begin + RowsPerPiece, Picture.height());
        const int primer = static_cast<int>(
            std::min<std::size_t>(begin, (kWindowBytes + rowBytes - 1) / rowBytes));
        FilteredRows(Picture, begin - primer, end, rows);
        const std::size_t before = static_cast<std::size_t>(primer) * rowBytes;
        const std::size_t dictionary = std::min(before, kWindowBytes);

        TPiece piece;
        piece.Length = rows.size() - before;
        piece.Adler = static_cast<std::uint32_t>(adler32_z(1, rows.data() + before, piece.Length));
        TBytes data;
        if (i == 0) {
            const auto header = ZlibHeader(Choice.Level);
            data.assign(header.begin(), header.end());
        }
        Deflate(rows.data() + before - dictionary, dictionary, piece.Length, i + 1 == Count,
                data);
        piece.Chunk = Chunk("IDAT", data);
        return piece;
    }

private:
    [[noreturn]] void Fail() const
    {
        throw EImageError("The picture could not be encoded for \"" + TargetPath + "\"");
    }

    // Appends to `out` the raw deflate data of `length` bytes at data + dictionary, primed
    // with the `dictionary` bytes at data; ends the deflate stream when `last`, else flushes
    // to a byte boundary so that the next piece's data can follow.
    void Deflate(const std::uint8_t* data, std::size_t dictionary, std::size_t length, bool last,
                 TBytes& out) const
    {
        z_stream z{};
        if (deflateInit2(&z, Choice.Level, Z_DEFLATED, -15, 8, Choice.Strategy) != Z_OK)
            Fail();
        const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&z, deflateEnd);
        if (dictionary > 0 &&
            deflateSetDictionary(&z, data, static_cast<uInt>(dictionary)) != Z_OK)
            Fail();
        z.next_in = const_cast<Bytef*>(data + dictionary);
        z.avail_in = static_cast<uInt>(length);
        const std::size_t start = out.size();
        // The bound of a finished stream, and room for the flush's empty block.
        out.resize(start + deflateBound(&z, static_cast<uLong>(length)) + 16);
        z.next_out = out.data() + start;
        z.avail_out = static_cast<uInt>(out.size() - start);
        const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
        const int result = deflate(&z, flush);
        const bool complete = last ? result == Z_STREAM_END
                                   : result == Z_OK && z.avail_in == 0 && z.avail_out > 0;
        if (!complete)
            Fail();
        out.resize(out.size() - z.avail_out);
    }

    const QImage& Picture;
    const TDeflateChoice Choice;
    const std::string& TargetPath;
    const int RowsPerPiece;
    const int Count;
};

class TPngOutput {
public:
    TPngOutput(TFileSink& sink, const std::string& targetPath)
        : Sink(sink), TargetPath(targetPath)
    {
    }

    void Write(const std::uint8_t* bytes, std::size_t count)
    {
        if (!Sink.Write({bytes, count}))
            throw EImageError("The picture could not be written to \"" + TargetPath + "\"");
    }
    void Write(const TBytes& bytes) { Write(bytes.data(), bytes.size()); }

    // The pieces' chunks in order, then the zlib stream's checksum in a chunk of its own.
    void WritePiece(const TPiece& piece)
    {
        Adler = static_cast<std::uint32_t>(
            adler32_combine(Adler, piece.Adler, static_cast<z_off_t>(piece.Length)));
        Write(piece.Chunk);
    }
    void EndStream()
    {
        TBytes checksum;
        AppendU32(checksum, Adler);
        Write(Chunk("IDAT", checksum));
    }

private:
    TFileSink& Sink;
    const std::string& TargetPath;
    std::uint32_t Adler = 1; // of nothing yet
};

} // namespace

bool WritesAsIndexedPng(const QImage& picture)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8 ||
        picture.colorCount() < 1 || picture.colorCount() > 256 || !picture.textKeys().isEmpty())
        return false;
    const QList<QRgb> colours = picture.colorTable();
    return std::all_of(colours.begin(), colours.end(),
                       [](QRgb c) { return qAlpha(c) == 255; });
}

void WriteIndexedPng(const QImage& picture, TDeflateChoice deflate, TFileSink& sink,
                     const std::string& targetPath)
{
    TPngOutput out(sink, targetPath);
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    out.Write(kSignature, sizeof kSignature);
    out.Write(Chunk("IHDR", HeaderData(picture)));
    out.Write(Chunk("PLTE", PaletteData(picture)));
    if (picture.dotsPerMeterX() > 0 || picture.dotsPerMeterY() > 0)
        out.Write(Chunk("pHYs", ResolutionData(picture)));

    // A few pieces per core at a time, written in order as each batch is done.
    const TPieceMaker maker(picture, deflate, targetPath);
    const int batch = static_cast<int>(2 * WorkerSlots());
    for (int first = 0; first < maker.Pieces(); first += batch) {
        const int count = std::min(batch, maker.Pieces() - first);
        std::vector<TPiece> pieces(static_cast<std::size_t>(count));
        ForEachRowRange(static_cast<std::size_t>(count), 1,
                        [&](std::size_t begin, std::size_t end) {
                            TBytes rows;
                            for (std::size_t i = begin; i < end; ++i)
                                pieces[i] = maker.Make(first + static_cast<int>(i), rows);
                        });
        for (const TPiece& piece : pieces)
            out.WritePiece(piece);
    }
    out.EndStream();
    out.Write(Chunk("IEND", {}));
}
