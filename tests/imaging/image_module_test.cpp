#include "imaging/image_module.h"

#include "tests/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(ImageModuleCandidates, BesideTheProgramFirstThenTheBuildFolderEachOnce)
{
    struct TCase {
        fs::path Program;
        std::vector<fs::path> Expected;
    };
    const TCase cases[] = {
        {"/opt/tulvo/bin/tulvo1d-cli", {"/opt/tulvo/bin/m.so", "/build/bin/m.so"}},
        {"/build/bin/tulvo1d-cli", {"/build/bin/m.so"}},
        {"", {"/build/bin/m.so"}}, // the running program not known
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ImageModuleCandidates(c.Program, "/build/bin", "m.so"), c.Expected) << c.Program;
}

TEST(LoadImageModule, NoLoadableCandidateIsAnImageErrorWithEveryReason)
{
    TTempDir folder;
    const std::string notAModule = folder.File("text.so");
    std::ofstream(notAModule) << "no shared object";
    const std::string missing = folder.File("missing.so");

    try {
        LoadImageModule({missing, notAModule});
        FAIL() << "loaded";
    } catch (const EImageError& failure) {
        const std::string text = failure.what();
        EXPECT_EQ(text.rfind("The image library could not be loaded: ", 0), 0u) << text;
        EXPECT_NE(text.find(missing), std::string::npos) << text;
        EXPECT_NE(text.find(notAModule), std::string::npos) << text;
    }
    EXPECT_THROW(LoadImageModule({}), EImageError);
}

TEST(LoadImageModule, TakesTheFirstThatLoadsAndTheProcessKeepsOneCopy)
{
    TTempDir folder;
    const TImageLibraryEntries& loaded =
        LoadImageModule({folder.File("missing.so"), TULVO_IMAGE_MODULE});
    EXPECT_EQ(&loaded, &ImageLibrary());
}

} // namespace
