#include "imaging/image_module.h"

#include <dlfcn.h>

#include <algorithm>

namespace {

std::string LastLoadError()
{
    const char* const reason = ::dlerror();
    return reason ? reason : "unknown reason";
}

// The module's entries, or nothing with `reason` saying why not.
const TImageLibraryEntries* TryLoad(const std::filesystem::path& file, std::string& reason)
{
    // Every symbol bound now: one the program lacks fails here, not in the middle of a call.
    void* const module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        reason = LastLoadError();
        return nullptr;
    }
    using TEntriesFunction = const TImageLibraryEntries* (*)();
    const auto entries =
        reinterpret_cast<TEntriesFunction>(::dlsym(module, TULVO_IMAGE_LIBRARY_ENTRIES));
    if (entries == nullptr) {
        reason = LastLoadError();
        ::dlclose(module);
        return nullptr;
    }
    return entries(); // the handle is kept open for the life of the process
}

} // namespace

std::vector<std::filesystem::path> ImageModuleCandidates(const std::filesystem::path& program,
                                                         const std::filesystem::path& buildFolder,
                                                         const std::string& moduleFile)
{
    std::vector<std::filesystem::path> candidates;
    if (!program.empty())
        candidates.push_back(program.parent_path() / moduleFile);
    const std::filesystem::path built = buildFolder / moduleFile;
    if (std::find(candidates.begin(), candidates.end(), built) == candidates.end())
        candidates.push_back(built);
    return candidates;
}

const TImageLibraryEntries& LoadImageModule(const std::vector<std::filesystem::path>& candidates)
{
    std::string reasons;
    for (const std::filesystem::path& file : candidates) {
        std::string reason;
        if (const TImageLibraryEntries* entries = TryLoad(file, reason))
            return *entries;
        reasons += (reasons.empty() ? "" : "; ") + reason;
    }
    if (reasons.empty())
        reasons = "there is no place to look for it";
    throw EImageError("The image library could not be loaded: " + reasons);
}
