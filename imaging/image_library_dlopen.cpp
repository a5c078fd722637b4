#include "imaging/image_library.h"

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/image_module.h"
#include "imaging/output_formats.h"

#include <system_error>

namespace {

// What the module takes from the program instead of linking copies of its own (one thread
// pool, one memory budget in the process). Named here so that every program that may load
// the module links them in from the static libraries and exports them, whether it calls
// them itself or not; a name missing here makes the module fail to load in the tests.
using TAnyFunction = void (*)();
[[gnu::used]] const TAnyFunction kLentToTheModule[] = {
    reinterpret_cast<TAnyFunction>(&CheckedAdd),
    reinterpret_cast<TAnyFunction>(&CheckedMul),
    reinterpret_cast<TAnyFunction>(&MemoryBudget),
    reinterpret_cast<TAnyFunction>(&RequireMemory),
    reinterpret_cast<TAnyFunction>(&ForEachRowRange),
    reinterpret_cast<TAnyFunction>(&ReadFileBytes),
    reinterpret_cast<TAnyFunction>(&ReplaceFileBytes),
    reinterpret_cast<TAnyFunction>(&CoderByExtension),
    reinterpret_cast<TAnyFunction>(&CoderBySignature),
    reinterpret_cast<TAnyFunction>(&OutputFormatProblem),
    reinterpret_cast<TAnyFunction>(&RequireOutputFormat),
};

std::filesystem::path RunningProgram()
{
    std::error_code failed;
    return std::filesystem::read_symlink("/proc/self/exe", failed);
}

} // namespace

const TImageLibraryEntries& ImageLibrary()
{
    // A failed load leaves this unset, so the next call tries again.
    static const TImageLibraryEntries& entries = LoadImageModule(
        ImageModuleCandidates(RunningProgram(), TULVO_IMAGE_MODULE_DIR, TULVO_IMAGE_MODULE_FILE));
    return entries;
}
