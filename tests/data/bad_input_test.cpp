// Every bad file ends in one clear error (message and kind) and leaves the table closed, the
// earlier data gone with it; none crashes or leaves part of a table behind.

#include "data/data_loader.h"
#include "tests/data/temp_file.h"
#include "tests/memory_limit.h"

#include "engine/errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const RegionalFormat kRussian{',', doDayMonthYear, '.'};
const RegionalFormat kEnglish{'.', doMonthDayYear, '/'};

// A table holding data from an earlier load, which a failing load must not leave behind.
TDataTable LoadedTable()
{
    const TTempFile file("A\tB\n1\t2\n");
    TDataTable table;
    LoadDataFile(file.Path(), kEnglish, table);
    return table;
}

struct TFailure {
    std::string Message;
    std::string Kind;
};

TFailure LoadFailure(const std::string& path, const RegionalFormat& format = kEnglish)
{
    TDataTable table = LoadedTable();
    try {
        LoadDataFile(path, format, table);
    } catch (const TulvoError& error) {
        EXPECT_FALSE(table.IsOpen());
        EXPECT_EQ(table.RowCount(), 0);
        EXPECT_EQ(table.ColumnCount(), 0);
        return {error.what(), error.kind()};
    }
    ADD_FAILURE() << "the load succeeded";
    return {};
}

TFailure TextFailure(std::string_view bytes, const RegionalFormat& format = kEnglish)
{
    const TTempFile file(bytes);
    return LoadFailure(file.Path(), format);
}

struct TBadCase {
    const char* What;
    std::string_view Bytes;
    const RegionalFormat* Format;
    const char* Message;
    const char* Kind;
};

const char* const kLineError = "Exception";
#define NUL_BYTE " (a NUL byte: this is no UTF-8 text, but UTF-16 or binary data)"
#define UTF16_MARK " (UTF-16 text; the file must be UTF-8 or plain 8-bit text)"
const char* const kTableError = "ETableError";

const TBadCase kBadCases[] = {
    {"overflowing number", "A\tB\n1\t1e999\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"nan", "A\tB\n1\tnan\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"inf", "A\tB\n1\t2\n2\tinf\n", &kEnglish, "Ошибка в строке :3", kLineError},
    {"-inf in a headerless file", "1\t2\n2\t-inf\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"date that is no day", "DATE\tA\n28.02.2005\t1\n31.02.2005\t2\n", &kRussian,
     "Ошибка в строке :3", kLineError},
    {"mixed separators", "A\tB\n1\t1,5\n2\t2.5\n", &kRussian, "Ошибка в строке :3", kLineError},
    {"thousands separator", "A\tB\n1\t1,000.5\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"header taken as data", "12\tA\tB\n1\t2\t3\n", &kEnglish, "Ошибка в строке :1", kLineError},
    {"too many fields", "A\tB\n1\t2\n1\t2\t3\n", &kEnglish, "Ошибка в строке :3", kLineError},
    {"trailing tab", "A\tB\n1\t2\t\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"NUL inside a field", std::string_view("A\tB\n1\t2\0" "3\n", 9), &kEnglish,
     "Ошибка в строке :2" NUL_BYTE, kLineError},
    {"NUL as a blank", std::string_view("A\tB\n1\t2\n2\t\0" "3\n", 12), &kEnglish,
     "Ошибка в строке :3" NUL_BYTE, kLineError},
    {"NUL in a name", std::string_view("A\0\tB\n", 5), &kEnglish, "Ошибка в строке :1" NUL_BYTE,
     kLineError},
    {"UTF-16 text", std::string_view("A\0\t\0B\0\r\0\n\0", 10), &kEnglish,
     "Ошибка в строке :1" NUL_BYTE, kLineError},
    {"UTF-16 numbers without a mark", std::string_view("1\0\t\0" "2\0\n\0", 8), &kEnglish,
     "Ошибка в строке :1" NUL_BYTE, kLineError},
    {"UTF-16LE with its mark", "\xFF\xFE" "A\0", &kEnglish, "Ошибка в строке :1" UTF16_MARK,
     kLineError},
    {"UTF-16BE with its mark", "\xFE\xFF\0A", &kEnglish, "Ошибка в строке :1" UTF16_MARK,
     kLineError},
    {"name that is no UTF-8", "T\xE4glich\tA\n1\t2\n", &kEnglish,
     "Ошибка в строке :1 (a column name that is no UTF-8 text)", kLineError},
    {"lone CR inside a field", "A\tB\n1\t2\r3\n", &kEnglish, "Ошибка в строке :2", kLineError},
    {"lone CRs as line ends", "A\tB\r1\t2\r3\t4\r", &kEnglish, "Ошибка в строке :1", kLineError},
    {"text after a Ctrl-Z in mid-line", "A\tB\n1\t2\x1A" "3\t4\n", &kEnglish,
     "Ошибка в строке :2", kLineError},
    {"text after a Ctrl-Z at a line start", "A\tB\n1\t2\n\x1A" "junk", &kEnglish,
     "Ошибка в строке :3", kLineError},
    {"bad field before a Ctrl-Z", "A\tB\n1\tx\n\x1A" "junk", &kEnglish, "Ошибка в строке :2",
     kLineError},
    {"names differing in case", "Time\tRiver\tRIVER\n", &kEnglish,
     "A component named RIVER already exists", kTableError},
    {"Cyrillic names differing in case", "Время\tРека\tрека\n", &kEnglish,
     "A component named река already exists", kTableError},
    {"empty header field", "A\t\tB\n1\t2\t3\n", &kEnglish, "Field name missing", kTableError},
    {"empty file", "", &kEnglish, "Field name missing", kTableError},
    {"blank first line", "\n1\t2\n", &kEnglish, "Field name missing", kTableError},
    {"sort key with a trailing blank", "Time \tA\n1\t2\n", &kEnglish, "Field 'Time' not found",
     kTableError},
    {"sort key with a semicolon", "T;X\tA\n1\t2\n", &kEnglish, "Field 'T;X' not found",
     kTableError},
};

TEST(BadInput, EndsInOneClearErrorAndAClosedTable)
{
    for (const TBadCase& c : kBadCases) {
        SCOPED_TRACE(c.What);
        const TFailure failure = TextFailure(c.Bytes, *c.Format);
        EXPECT_EQ(failure.Message, c.Message);
        EXPECT_EQ(failure.Kind, c.Kind);
    }
}

TEST(BadInput, UnreadableFilesAreFileErrors)
{
    const std::string missing =
        (std::filesystem::temp_directory_path() / "tulvo_no_such_file.txt").string();
    TFailure failure = LoadFailure(missing);
    EXPECT_EQ(failure.Message, "Cannot open file \"" + missing + "\": No such file or directory");
    EXPECT_EQ(failure.Kind, "EFileError");

    const std::string folder = std::filesystem::temp_directory_path().string();
    failure = LoadFailure(folder);
    EXPECT_EQ(failure.Message, "Cannot read file \"" + folder + "\": it is a folder, not a regular file");
    EXPECT_EQ(failure.Kind, "EFileError");

    // The library resolves such names on its own; here they are only names of no file.
    failure = LoadFailure("png:" TULVO_FIXTURES "/imaging/grey_3x2.png");
    EXPECT_EQ(failure.Kind, "EFileError");
}

// A FIFO would block the open until a writer came, and a device could stream without end:
// both are refused at once, by what they are.
TEST(BadInput, FifosAndDevicesAreRefusedAtOnce)
{
    const std::string fifo =
        (std::filesystem::temp_directory_path() / ("tulvo_fifo_" + std::to_string(getpid()))).string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const TFailure fromFifo = LoadFailure(fifo);
    std::filesystem::remove(fifo);
    EXPECT_EQ(fromFifo.Message, "Cannot read file \"" + fifo + "\": it is a FIFO, not a regular file");
    EXPECT_EQ(LoadFailure("/dev/zero").Message,
              "Cannot read file \"/dev/zero\": it is a device, not a regular file");
}

TEST(BadInput, FilesOverTheMemoryBudgetAreRefusedBeforeReading)
{
    const TTempFile large(std::string(1 << 20, '1'));
    const TMemoryLimit limit(64 << 10);
    const TFailure failure = LoadFailure(large.Path());
    EXPECT_EQ(failure.Message, "Not enough memory for the data file: 1.0 MiB needed, 64.0 KiB available");
    EXPECT_EQ(failure.Kind, "EOutOfMemory");
}

TEST(BadInput, BinaryFilesFail)
{
    std::mt19937 random(20261210);
    std::string bytes(1 << 16, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    EXPECT_EQ(TextFailure(bytes).Message.rfind("Ошибка в строке :1 (", 0), 0u);

    const std::string executable = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_FALSE(LoadFailure(executable).Kind.empty());
}

TEST(BadInput, LinesLongerThan10MBLoadOrFailCleanly)
{
    const std::size_t kLong = 11u << 20;
    // One number of 11 MiB of leading zeros.
    const TTempFile longNumber("A\tB\n2\t" + std::string(kLong, '0') + "1\n");
    TDataTable table;
    LoadDataFile(longNumber.Path(), kEnglish, table);
    EXPECT_EQ(table.CellAsNumber(1, 1), 1);

    // A header name of 11 MiB.
    const TTempFile longName(std::string(kLong, 'x') + "\n");
    LoadDataFile(longName.Path(), kEnglish, table);
    EXPECT_EQ(table.ColumnName(0).size(), kLong);

    // Millions of fields for two columns.
    std::string manyFields = "A\tB\n1";
    for (std::size_t i = 0; i < kLong / 2; ++i)
        manyFields += "\t2";
    EXPECT_EQ(TextFailure(manyFields).Message, "Ошибка в строке :2");
}

TEST(BadInput, HundredThousandColumnsLoad)
{
    constexpr int kColumns = 100000;
    std::string header, row;
    for (int c = 0; c < kColumns; ++c) {
        header += (c ? "\tC" : "C") + std::to_string(c);
        row += (c ? "\t" : "") + std::to_string(c % 7);
    }
    const TTempFile named(header + "\n" + row + "\n");
    TDataTable table;
    LoadDataFile(named.Path(), kEnglish, table);
    ASSERT_EQ(table.ColumnCount(), kColumns);
    EXPECT_EQ(table.ColumnName(kColumns - 1), "C99999");
    EXPECT_EQ(table.CellAsNumber(1, kColumns - 1), 99999 % 7);

    const TTempFile headerless(row + "\n" + row + "\t1\n");
    EXPECT_EQ(LoadFailure(headerless.Path()).Message, "Ошибка в строке :2");
    const TTempFile repeated(header + "\tc5\n");
    EXPECT_EQ(LoadFailure(repeated.Path()).Message, "A component named c5 already exists");
}

} // namespace
