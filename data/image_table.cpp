#include "data/image_table.h"

#include "data/text_reader.h"

#include <array>
#include <filesystem>
#include <vector>

std::string UpperExtension(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t point = name.rfind('.');
    if (point == std::string::npos)
        return {};
    std::string extension = name.substr(point);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return extension;
}

bool IsImageExtension(const std::string& upperExtension)
{
    static const std::array<const char*, 7> kImageExtensions = {
        ".BMP", ".TIFF", ".TIF", ".JPEG", ".JPG", ".PNG", ".GIF"};
    for (const char* extension : kImageExtensions) {
        if (upperExtension == extension)
            return true;
    }
    return false;
}

std::optional<GreyImage> ReadImageTable(const TInput& input, TDataTable& table)
{
    if (!input.MayBeImage)
        return std::nullopt;
    // The budget check before decoding covers the table built from the picture.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.Bytes.data());
    std::optional<GreyImage> picture =
        ReadGreyImage({bytes, input.Bytes.size()}, input.Name, kTableCellBytes);
    if (!picture)
        return std::nullopt;

    const auto width = static_cast<std::size_t>(picture->Width);
    for (int x = 0; x < picture->Width; ++x)
        table.AddColumn(NumberedColumnName(x), ckNumber);
    table.Open();
    table.ReserveRows(static_cast<std::size_t>(picture->Height));
    std::vector<double> values(width);
    const std::vector<std::uint8_t> noneEmpty(width, 0);
    for (int y = 0; y < picture->Height; ++y) {
        const std::uint8_t* pixel = picture->Pixels.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < width; ++x)
            values[x] = pixel[x];
        table.AppendRow(values, noneEmpty);
    }
    return picture;
}
