#include "data/data_loader.h"
#include "tests/data/table_dump.h"
#include "tests/data/temp_file.h"

#include "engine/errors.h"

#include <gtest/gtest.h>

namespace {

const RegionalFormat kRussian{',', doDayMonthYear, '.'};
const RegionalFormat kEnglish{'.', doMonthDayYear, '/'};

TDataTable LoadText(std::string_view bytes, const RegionalFormat& format = kEnglish)
{
    const TTempFile file(bytes);
    TDataTable table;
    EXPECT_FALSE(LoadDataFile(file.Path(), format, table));
    return table;
}

struct TReadCase {
    const char* What;
    std::string_view Bytes;
    const RegionalFormat* Format;
    const char* Names;
    const char* Rows;
};

const TReadCase kReadCases[] = {
    {"header", "A\tB\n1\t2\n", &kEnglish, "A|B", "1 2"},
    {"no header", "12\t3\n4\t5\n", &kEnglish, "V0000|V0001", "4 5|12 3"},
    {"comma number starts data", "1,5\t2\n", &kRussian, "V0000|V0001", "1.5 2"},
    {"point number is a header under commas", "1.5\t2\n", &kRussian, "1.5|2", ""},
    {"first field trimmed for the test", " 12 \t3\n", &kEnglish, "V0000|V0001", "12 3"},
    {"names untrimmed", "A\t B \n", &kEnglish, "A| B ", ""},
    {"sorted by the first column", "L\tS\n3\t30\n1\t10\n2\t20\n", &kEnglish, "L|S",
     "1 10|2 20|3 30"},
    {"equal labels keep file order", "L\tS\n2\t1\n1\t2\n2\t3\n1\t4\n", &kEnglish, "L|S",
     "1 2|1 4|2 1|2 3"},
    {"fewer fields leave empty cells", "A\tB\tC\n1\n2\t5\n", &kEnglish, "A|B|C", "1 _ _|2 5 _"},
    {"two tabs give an empty cell", "A\tB\tC\n1\t\t3\n", &kEnglish, "A|B|C", "1 _ 3"},
    {"blank line is an empty row, sorted first", "A\tB\n-5\t1\n\n7\t2\n", &kEnglish, "A|B",
     "_ _|-5 1|7 2"},
    {"blank-only line is an empty row", "A\tB\n3\t1\n \t \n", &kEnglish, "A|B", "_ _|3 1"},
    {"two line ends at the end add an empty row", "A\n1\n\n", &kEnglish, "A", "_|1"},
    {"one line end at the end adds nothing", "A\n1\n", &kEnglish, "A", "1"},
    {"no line end at the end", "A\n1", &kEnglish, "A", "1"},
    {"header only", "A\tB", &kEnglish, "A|B", ""},
    {"CR LF line ends", "A\tB\r\n1\t2\r\n", &kEnglish, "A|B", "1 2"},
    {"CRs at a line end", "A\tB\r\r\n1\t2\r\r\n", &kEnglish, "A|B", "1 2"},
    {"CR at a field edge is trimmed", "A\tB\n1\r\t2\n", &kEnglish, "A|B", "1 2"},
    {"fields trimmed of codes up to 32", "A\tB\n \x01" "1\x1f\t\v2 \n", &kEnglish, "A|B", "1 2"},
    {"Ctrl-Z ends the file", "A\n2\n1\x1A", &kEnglish, "A", "1|2"},
    {"Ctrl-Z mid-line ends the last line", "A\tB\n1\t2\x1A\r\n", &kEnglish, "A|B", "1 2"},
    {"padding after Ctrl-Z", std::string_view("A\n1\n\x1A\x1A\0\n  ", 10), &kEnglish, "A", "1"},
    {"UTF-8 byte-order mark skipped", "\xEF\xBB\xBF" "7\t8\n", &kEnglish, "V0000|V0001", "7 8"},
    {"minus zero", "A\n-0\n", &kEnglish, "A", "-0"},
    {"headerless matrix sorted too", "5\t1\n2\t2\n9\t3\n", &kEnglish, "V0000|V0001",
     "2 2|5 1|9 3"},
    {"dates under Russian settings", "MYDATE\tV\n02.01.1900\t1,5\n01.01.1900\t2\n", &kRussian,
     "MYDATE|V", "2 2|3 1.5"},
    {"dates under English settings", "DATE\tV\n1/2/1900\t1.5\n", &kEnglish, "DATE|V", "3 1.5"},
};

TEST(TextReader, ReadsTheCasesOfTheFormat)
{
    for (const TReadCase& c : kReadCases) {
        SCOPED_TRACE(c.What);
        const TDataTable table = LoadText(c.Bytes, *c.Format);
        EXPECT_TRUE(table.IsOpen());
        EXPECT_EQ(DumpNames(table), c.Names);
        EXPECT_EQ(DumpRows(table), c.Rows);
    }
}

TEST(TextReader, MakesDateColumnsOnlyForUpperCaseDateInTheName)
{
    const TDataTable table = LoadText("DATE\tMYDATE\tUPDATES\tdates\tDat\n");
    const TColumnKind expected[] = {ckDate, ckDate, ckDate, ckNumber, ckNumber};
    for (int c = 0; c < table.ColumnCount(); ++c)
        EXPECT_EQ(table.ColumnKind(c), expected[c]) << table.ColumnName(c);
    EXPECT_EQ(LoadText("12\t3\n").ColumnKind(0), ckNumber);
}

TEST(TextReader, ReadsARussianSpreadsheetExport)
{
    TDataTable table;
    std::vector<long long> counters;
    LoadDataFile(TULVO_FIXTURES "/data/dated_series_ru.txt", kRussian, table,
                 [&](long long line) { counters.push_back(line); });
    EXPECT_EQ(DumpNames(table), "DATE|River|Rain");
    EXPECT_EQ(table.ColumnKind(0), ckDate);
    EXPECT_EQ(DumpRows(table), "_ _ _|38353 0.25 _|38354 _ 0.69999999999999996|38355 1.5 -2");
    EXPECT_EQ(counters, (std::vector<long long>{5})); // the header counts
}

TEST(TextReader, ReportsTheLineCounterEvery100LinesAndAtTheEnd)
{
    std::string text = "A\tB\n";
    for (int i = 0; i < 250; ++i)
        text += std::to_string(i) + "\t1\n";
    const TTempFile file(text);
    TDataTable table;
    std::vector<long long> counters;
    LoadDataFile(file.Path(), kEnglish, table, [&](long long line) { counters.push_back(line); });
    EXPECT_EQ(counters, (std::vector<long long>{100, 200, 251}));
    EXPECT_EQ(table.RowCount(), 250);
}

TEST(TextReader, StopsWhenTheProgressCallbackCancels)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i) + "\n";
    const TTempFile file(text);
    TDataTable table;
    std::vector<long long> counters;
    const auto cancelAt300 = [&](long long line) {
        counters.push_back(line);
        if (line == 300)
            throw ECancelled();
    };
    EXPECT_THROW(LoadDataFile(file.Path(), kEnglish, table, cancelAt300), ECancelled);
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(counters, (std::vector<long long>{100, 200, 300, 300}));
}

TEST(TextReader, NamesColumnsWithoutAHeaderByFourDigitsAtLeast)
{
    EXPECT_EQ(NumberedColumnName(0), "V0000");
    EXPECT_EQ(NumberedColumnName(42), "V0042");
    EXPECT_EQ(NumberedColumnName(9999), "V9999");
    EXPECT_EQ(NumberedColumnName(10000), "V10000");
}

TEST(TextReader, ReadsTheMatrixFixtureSortedByItsFirstColumn)
{
    TDataTable table;
    LoadDataFile(TULVO_FIXTURES "/data/matrix_en.txt", kEnglish, table);
    EXPECT_EQ(DumpRows(table), "2 -100 2|5 0.5 1|9 3 3");
}

} // namespace
