#pragma once
// The frames of a 2-D run: numbered 8-bit BMP files in the output directory, assembled at the
// end into an animated RESULT.GIF and a multi-page RESULT.TIFF, and deleted when the writer
// goes, whatever happened.

#include <QImage>
#include <string>
#include <vector>

class MuImage {
public:
    // `Dir` ends in a path separator. A stale "Result.Avi" there is deleted.
    explicit MuImage(std::string Dir);
    // Deletes every frame file written, in order; missing files are ignored.
    ~MuImage();
    MuImage(const MuImage&) = delete;
    MuImage& operator=(const MuImage&) = delete;

    // "Muimg%.5d-%.3d.BMP" of A and B.
    static std::string FrameName(int A, int B);

    // Writes Bitmap as Dir + FrameName(A, B).
    void AddFrame(const QImage& Bitmap, int A, int B);
    // Writes Bitmap as a BMP file, as it stands, then remembers Name. EFileError when the file
    // cannot be written.
    void SaveFrame(const QImage& Bitmap, const std::string& Name);

    // Builds RESULT.GIF and RESULT.TIFF in Dir from the frames in the order written. Both
    // files are replaced only when both were written completely; on failure the earlier ones
    // stay and EImageError is thrown.
    void Assemble();

    const std::vector<std::string>& Files() const { return Files_; }
    std::string GifPath() const { return Dir_ + "RESULT.GIF"; }
    std::string TiffPath() const { return Dir_ + "RESULT.TIFF"; }

private:
    std::vector<std::string> Files_;
    std::string Dir_;
};
