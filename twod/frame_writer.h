#pragma once
// The frames of a 2-D run: numbered 8-bit BMP files in a folder private to the run, assembled
// at the end into an animated RESULT.GIF and a multi-page RESULT.TIFF in the output
// directory, and deleted with their folder when the writer goes, whatever happened.

#include <QImage>
#include <functional>
#include <string>
#include <vector>

class MuImage {
public:
    // `Dir` ends in a path separator. The frames go to a new folder of a unique name in Dir,
    // so concurrent runs never meet and no file of the user's is touched; EFileError, with
    // the system's reason, when it cannot be created.
    explicit MuImage(std::string Dir);
    // Deletes every frame file written and their folder.
    ~MuImage();
    MuImage(const MuImage&) = delete;
    MuImage& operator=(const MuImage&) = delete;

    // "Muimg%.5d-%.3d.BMP" of A and B.
    static std::string FrameName(int A, int B);

    // Writes Bitmap as FrameDir() + FrameName(A, B).
    void AddFrame(const QImage& Bitmap, int A, int B);
    // Writes Bitmap as a BMP file, as it stands, then remembers Name. EFileError with the
    // system's reason when the file cannot be written; no part of it is left.
    void SaveFrame(const QImage& Bitmap, const std::string& Name);

    // Builds RESULT.GIF and RESULT.TIFF in Dir from the frames in the order written. Both
    // files are replaced only when both were written completely; on failure the earlier ones
    // stay and EImageError is thrown. `checkpoint` (thread-safe) is asked before every frame
    // of either result and may throw to stop.
    void Assemble(const std::function<void()>& checkpoint = {});

    const std::vector<std::string>& Files() const { return Files_; }
    const std::string& FrameDir() const { return FrameDir_; }
    std::string GifPath() const { return Dir_ + "RESULT.GIF"; }
    std::string TiffPath() const { return Dir_ + "RESULT.TIFF"; }

private:
    std::vector<std::string> Files_;
    std::string Dir_;
    std::string FrameDir_; // inside Dir_, ending in a path separator
};
