#pragma once
// How imaging/imagick.h reaches the library: through one table of entry points that the image
// module hands over. Where the platform can load modules, the module is loaded on first use,
// so a run that never meets an image does not pay for the library and its codecs; elsewhere
// the same code is linked into the program.

#include "imaging/imagick.h"

struct TImageLibraryEntries {
    void (*Initialize)();
    void (*Shutdown)();
    std::optional<GreyImage> (*ReadGreyImage)(std::span<const std::uint8_t>, const std::string&,
                                              std::size_t);
    void (*WriteBmpAs)(const std::vector<std::uint8_t>&, const std::string&);
    std::size_t (*AssemblyBytes)(std::size_t, std::size_t, std::size_t);
    void (*AssembleFrames)(const std::vector<std::string>&, const std::string&, const std::string&,
                           const std::function<void()>&);
};

// The module's one exported name; it is looked up by this text.
#define TULVO_IMAGE_LIBRARY_ENTRIES "TulvoImageLibraryEntries"
extern "C" const TImageLibraryEntries* TulvoImageLibraryEntries();

// The entries, the module loaded (once per process, never unloaded) on the first call.
// Thread-safe. EImageError "The image library could not be loaded: ..." when it cannot be;
// the next call tries again.
const TImageLibraryEntries& ImageLibrary();
