#pragma once
// The work behind imaging/imagick.h, done with the library. These files make up the image
// module, which the program loads on first use (see image_library.h); the program reaches
// them only through the module's table of entry points.

#include "imaging/imagick.h"

namespace magick_calls {

// Starts the library (no signal handlers of its own, resource limits from the memory budget);
// EImageError when it refuses. Shutdown() ends what Initialize() started.
void Initialize();
void Shutdown();

// The same contracts as the functions of the same names in imaging/imagick.h.
std::optional<GreyImage> ReadGreyImage(std::span<const std::uint8_t> bytes, const std::string& name,
                                       std::size_t bytesPerPixelDownstream);
void WriteBmpAs(const std::vector<std::uint8_t>& bmpBytes, const std::string& targetPath);
std::size_t AssemblyBytes(std::size_t frames, std::size_t width, std::size_t height);
void AssembleFrames(const std::vector<std::string>& frameFiles, const std::string& gifPath,
                    const std::string& tiffPath, const std::function<void()>& checkpoint);

} // namespace magick_calls
