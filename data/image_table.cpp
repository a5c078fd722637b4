#include "data/image_table.h"

#include "data/text_reader.h"

#include <array>
#include <vector>

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

std::optional<GreyImage> ReadImageTable(const std::string& path,
                                        const std::string& upperExtension, TDataTable& table)
{
    if (!IsImageExtension(upperExtension))
        return std::nullopt;
    // The budget check before decoding covers the table built from the picture.
    std::optional<GreyImage> picture = ReadGreyImage(path, kTableCellBytes);
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
