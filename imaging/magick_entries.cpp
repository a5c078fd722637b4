#include "imaging/image_library.h"
#include "imaging/magick_calls.h"

namespace {

constexpr TImageLibraryEntries kEntries{
    &magick_calls::Initialize,    &magick_calls::Shutdown,      &magick_calls::ReadGreyImage,
    &magick_calls::WriteBmpAs,    &magick_calls::AssemblyBytes, &magick_calls::AssembleFrames,
};

} // namespace

extern "C" const TImageLibraryEntries* TulvoImageLibraryEntries()
{
    return &kEntries;
}
