// The text-table reader on its own, without a database: what each value of a headerless
// comma-separated file becomes.

#include "services/text_table.h"

#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::TempDir;

std::vector<std::vector<DbValue>> rowsOf(const std::string& content) {
    TempDir dir;
    test::writeFile(dir / "t.csv", content);
    std::string error;
    auto table = readTextTable(dir / "t.csv", error);
    EXPECT_TRUE(table) << error;
    return table ? table->rows : std::vector<std::vector<DbValue>>{};
}

TEST(TextTable, ValuesAndLinesOfEveryShape) {
    using Row = std::vector<DbValue>;
    struct Case {
        const char* name;
        std::string content;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"numbers, whole ones as integers", "1,-82.3411,29.6512\r\n", {Row{1, -82.3411, 29.6512}}},
        {"LF line ends, none at the end", "1,2\n3,4", {Row{1, 2}, Row{3, 4}}},
        {"quoted values are texts: commas and doubled quotes inside",
         "\"a, \"\"b\"\"\",\"007\"\r\n",
         {Row{"a, \"b\"", "007"}}},
        {"empty values are NULL, short rows stay short",
         "1,,x\r\n2\r\n",
         {Row{1, nullptr, "x"}, Row{2}}},
        {"blanks around unquoted values go", " 5 , x \r\n", {Row{5, "x"}}},
        {"exponents are numbers", "1e3,-2.5E-1\r\n", {Row{1000.0, -0.25}}},
        {"words stay texts", "12a,inf,0x10\r\n", {Row{"12a", "inf", "0x10"}}},
        {"byte order mark and empty lines skipped",
         "\xEF\xBB\xBF\r\n7,Caf\xC3\xA9\r\n\r\n",
         {Row{7, "Caf\xC3\xA9"}}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOf(c.content), c.rows) << c.name;
    }
}

TEST(TextTable, AColumnIsNumbersOnlyWhenEveryValueIs) {
    TempDir dir;
    test::writeFile(dir / "t.csv", "1,1.5,1,x,\r\n2,2,\"2\",,\r\n,3,3\r\n");
    std::string error;
    auto table = readTextTable(dir / "t.csv", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->columns, 5u);
    EXPECT_EQ(table->columnType(0), TextColumnType::Integer);
    EXPECT_EQ(table->columnType(1), TextColumnType::Real);
    EXPECT_EQ(table->columnType(2), TextColumnType::Text);
    EXPECT_EQ(table->columnType(3), TextColumnType::Text);
    EXPECT_EQ(table->columnType(4), TextColumnType::Text) << "all empty";

    // Read without holding the rows, the same columns and types.
    auto shape = readTextTableShape(dir / "t.csv", error);
    ASSERT_TRUE(shape) << error;
    EXPECT_EQ(shape->columns, table->columns);
    for (std::size_t c = 0; c < table->columns; ++c) {
        EXPECT_EQ(shape->types.at(c), table->columnType(c)) << c;
    }
}

TEST(TextTable, AFileThatCannotBeReadIsNamed) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(readTextTable(dir / "missing.csv", error));
    EXPECT_NE(error.find("missing.csv"), std::string::npos) << error;
}

} // namespace
} // namespace sw
