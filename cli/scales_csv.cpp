#include "cli/scales_csv.h"

#include "cli/npy_writer.h"

#include <QSaveFile>
#include <QString>

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

// Shortest round-trip text; empty for NaN (no value), so scripts read a missing field.
std::string Field(double value)
{
    if (std::isnan(value))
        return {};
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end);
}

} // namespace

std::string OneDScalesCsv(const std::vector<TRowAxis>& rows)
{
    std::string text = "row,scale,period_samples,period_label,coi_samples\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        text += std::to_string(i) + "," + Field(rows[i].Scale) + "," +
                Field(rows[i].PeriodSamples) + "," + Field(rows[i].PeriodLabel) + "," +
                Field(rows[i].CoiSamples) + "\n";
    return text;
}

std::string TwoDScalesCsv(const std::vector<double>& scales,
                          const std::vector<double>& wavelengths)
{
    std::string text = "frame,scale,wavelength_pixels\n";
    for (std::size_t i = 0; i < scales.size(); ++i)
        text += std::to_string(i) + "," + Field(scales[i]) + "," +
                Field(i < wavelengths.size() ? wavelengths[i] : NAN) + "\n";
    return text;
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot create file \"" + path + "\"");
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        file.cancelWriting();
        throw std::runtime_error("Cannot write file \"" + path + "\"");
    }
    if (!file.commit())
        throw std::runtime_error("Cannot write file \"" + path + "\"");
}

std::string ScalesNpyPath(const std::string& matrixPath)
{
    const std::size_t slash = matrixPath.find_last_of('/');
    const std::size_t dot = matrixPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? matrixPath.substr(0, dot) : matrixPath) + ".scales.npy";
}

void WriteScalesNpy(const std::string& path, const std::vector<double>& scales)
{
    TNpyWriter writer(path, {scales.size()});
    writer.Append(scales);
    writer.Commit();
}
