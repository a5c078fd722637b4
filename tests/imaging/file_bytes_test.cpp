#include "imaging/file_bytes.h"
#include "imaging/imagick.h"

#include "tests/file_size_limit.h"
#include "tests/folder_content.h"
#include "tests/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>

namespace {

std::span<const std::uint8_t> BytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(ReplaceFile, TheWritersPiecesBecomeTheFile)
{
    TTempDir folder;
    const std::string target = folder.File("result.bmp");
    std::ofstream(target) << "an older, longer file";

    ReplaceFile(target, [](TFileSink& sink) {
        EXPECT_TRUE(sink.Write(BytesOf("first ")));
        EXPECT_TRUE(sink.Write({}));
        EXPECT_TRUE(sink.Write(BytesOf("second")));
        EXPECT_EQ(sink.Error(), 0);
    });

    EXPECT_EQ(FileContent(target), "first second");
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"result.bmp"});
}

// The old file is exchanged for the new one and then removed; another name of it keeps it.
TEST(ReplaceFile, AHardLinkKeepsTheOldContent)
{
    TTempDir folder;
    const std::string target = folder.File("result.bmp");
    std::ofstream(target) << "the old picture";
    std::filesystem::create_hard_link(target, folder.File("kept.bmp"));

    ReplaceFileBytes(target, BytesOf("the new picture"));

    EXPECT_EQ(FileContent(target), "the new picture");
    EXPECT_EQ(FileContent(folder.File("kept.bmp")), "the old picture");
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"kept.bmp", "result.bmp"}));
}

TEST(ReplaceFile, TheWritersOwnFailurePassesThroughAndKeepsTheTarget)
{
    TTempDir folder;
    const std::string target = folder.File("result.bmp");
    std::ofstream(target) << "an older file";

    EXPECT_THROW(ReplaceFile(target,
                             [](TFileSink& sink) {
                                 sink.Write(BytesOf("half a picture"));
                                 throw std::logic_error("the writer gave up");
                             }),
                 std::logic_error);

    EXPECT_EQ(FileContent(target), "an older file");
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"result.bmp"});
}

// A file larger than the cap: the system refuses the bytes past it, while the writer writes,
// or when the last buffered bytes are flushed on closing.
struct TRefusedWrite {
    const char* Name;
    std::size_t Bytes;
    bool WriterThrows; // as an encoder does when its output fails
};

class ReplaceFileRefused : public testing::TestWithParam<TRefusedWrite> {};

TEST_P(ReplaceFileRefused, ThrowsTheSystemsReasonAndKeepsTheTarget)
{
    TTempDir folder;
    const std::string target = folder.File("result.bmp");
    std::ofstream(target) << "an older file";
    const std::string content(GetParam().Bytes, 'x');
    const bool writerThrows = GetParam().WriterThrows;

    const TFileSizeLimit cap(1000);
    try {
        ReplaceFile(target, [&](TFileSink& sink) {
            const bool written = sink.Write(BytesOf(content));
            if (!written && writerThrows)
                throw EImageError("The picture could not be encoded");
        });
        ADD_FAILURE() << "the file fitted under the cap";
    } catch (const EImageError& failure) {
        EXPECT_STREQ(failure.what(), ("Cannot write the file \"" + target + "\": File too large").c_str());
    }

    EXPECT_EQ(FileContent(target), "an older file");
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"result.bmp"});
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceFileRefused,
                         testing::Values(TRefusedWrite{"WhileWritingTheWriterThrows", 100000, true},
                                         TRefusedWrite{"WhileWritingTheWriterGoesOn", 100000, false},
                                         TRefusedWrite{"OnClosing", 2000, false}),
                         [](const testing::TestParamInfo<TRefusedWrite>& info) {
                             return info.param.Name;
                         });

} // namespace
