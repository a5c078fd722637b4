#include "imaging/magick_calls.h"

#include "engine/memory_budget.h"

#include <Magick++.h>

namespace {

// Hostile pictures are refused by size before decoding; these limits are the library's own
// backstop. Its pixel cache may not exceed the budget in memory, and it may never spill to
// disk, where a lying header could fill the user's drive.
void LimitLibraryResources()
{
    const auto budget = static_cast<MagickLib::magick_int64_t>(MemoryBudget());
    MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, budget);
    MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
}

} // namespace

void magick_calls::Initialize()
{
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    // The library's own signal handlers would end the program behind the window's back.
    MagickLib::InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
    const bool failed = exception.severity >= MagickLib::ErrorException;
    const std::string reason = exception.reason ? exception.reason : "";
    MagickLib::DestroyExceptionInfo(&exception);
    if (failed)
        throw EImageError("The image library could not be initialised: " + reason);
    LimitLibraryResources();
}

void magick_calls::Shutdown() { MagickLib::DestroyMagick(); }
