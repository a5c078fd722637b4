#pragma once
// Finding and loading the image module where the platform loads modules (dlopen).

#include "imaging/image_library.h"

#include <filesystem>
#include <string>
#include <vector>

// Where to look for the module file `moduleFile`, in order, each place once: beside the
// running program `program` (empty when it is not known), so that an installed or moved
// program takes its own, then in `buildFolder`, where the build puts it, which is how
// programs outside that folder (the tests) find it.
std::vector<std::filesystem::path> ImageModuleCandidates(const std::filesystem::path& program,
                                                         const std::filesystem::path& buildFolder,
                                                         const std::string& moduleFile);

// Loads the first of `candidates` that loads, with every symbol it needs resolved now, and
// hands back its entries. The module stays loaded for the life of the process. Throws
// EImageError "The image library could not be loaded: " and every candidate's reason when none
// loads.
const TImageLibraryEntries& LoadImageModule(const std::vector<std::filesystem::path>& candidates);
