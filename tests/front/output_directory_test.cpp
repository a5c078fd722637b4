#include "front/output_directory.h"

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// The stale "Result.Avi" is removed in the program's own results folder only; a folder the
// user names (the batch tool's --out-dir) never reaches this function.
TEST(OutputDirectory, RemovesAStaleResultAviInTheProgramsOwnFolder)
{
    const std::filesystem::path own = QCoreApplication::applicationDirPath().toStdString();
    std::ofstream(own / "Result.Avi") << "stale";
    const std::string dir = OutputDirectory();
    EXPECT_EQ(std::filesystem::path(dir), own / "");
    EXPECT_FALSE(std::filesystem::exists(own / "Result.Avi"));
}

} // namespace
