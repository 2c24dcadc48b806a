// The text-table reader on its own, without a database: what each value of a headerless
// comma-separated file becomes.

#include "services/database/text_table.h"

#include "testsupport/test_paths.h"

#include <sstream>

#include <gtest/gtest.h>

namespace sw {

// Failures show values as the text they hold and their type, not as bytes.
void PrintTo(const DbValue& value, std::ostream* out) {
    static const char* const kTypes[] = {"NULL", "integer", "real", "text"};
    *out << kTypes[static_cast<int>(value.type())] << " \"" << value.toText() << "\"";
}

namespace {

using Row = std::vector<DbValue>;

std::vector<Row> rowsOf(const std::string& content) {
    std::istringstream in(content);
    std::string error;
    auto table = readTextTable(in, error);
    EXPECT_TRUE(table) << error;
    return table ? table->rows : std::vector<Row>{};
}

TEST(TextTable, ValuesAndLinesOfEveryShape) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"numbers, whole ones as integers", "1,-82.3411,29.6512\r\n", {Row{1, -82.3411, 29.6512}}},
        {"LF line ends, none at the end", "1,2\n3,4", {Row{1, 2}, Row{3, 4}}},
        {"quoted values are texts: commas, doubled quotes and line breaks inside",
         "\"a, \"\"b\"\"\",\"007\",\"two\r\nlines\"\r\n",
         {Row{"a, \"b\"", "007", "two\r\nlines"}}},
        {"empty values are NULL, short rows stay short",
         "1,,x\r\n2\r\n",
         {Row{1, nullptr, "x"}, Row{2}}},
        {"blanks around values go", " 5 , x , \"q\" \r\n", {Row{5, "x", "q"}}},
        {"exponents in a column of numbers", "1e3,-2.5E-1\r\n", {Row{1000.0, -0.25}}},
        {"words stay texts", "12a,inf,0x10\r\n", {Row{"12a", "inf", "0x10"}}},
        {"zero itself and zeros before a point or exponent are numbers",
         "0,0.5,-0,0e3,-0.25\r\n",
         {Row{0, 0.5, 0, 0.0, -0.25}}},
        {"byte order mark and empty lines skipped",
         "\xEF\xBB\xBF\r\n7,Caf\xC3\xA9\r\n\r\n",
         {Row{7, "Caf\xC3\xA9"}}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOf(c.content), c.rows) << c.name;
    }
}

// A column is numbers only when every value in it is one; otherwise each value keeps the text
// it was written as, since turning some of them into numbers would change them ("007" -> 7).
TEST(TextTable, AColumnWithAnyTextKeepsEveryValueAsWritten) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"leading zeros", "007\r\nabc\r\n", {Row{"007"}, Row{"abc"}}},
        // Leading zeros are part of a code: the zeros stay, and so the whole column is texts.
        {"ZIP codes with leading zeros among numbers",
         "00501\r\n32301\r\n",
         {Row{"00501"}, Row{"32301"}}},
        {"a leading zero after a sign", "-007,1\r\n5,2\r\n", {Row{"-007", 1}, Row{"5", 2}}},
        {"a leading zero before a point", "00.5\r\n1.5\r\n", {Row{"00.5"}, Row{"1.5"}}},
        {"trailing zeros", "1.50\r\nx\r\n", {Row{"1.50"}, Row{"x"}}},
        {"exponent", "1e3\r\nx\r\n", {Row{"1e3"}, Row{"x"}}},
        {"a quoted value makes the column text", "5\r\n\"6\"\r\n", {Row{"5"}, Row{"6"}}},
        {"an integer too large to hold exactly",
         "12345678901234567890\r\n1\r\n",
         {Row{"12345678901234567890"}, Row{"1"}}},
        {"beside fractions, an integer a double cannot hold",
         "9007199254740993\r\n0.5\r\n",
         {Row{"9007199254740993"}, Row{"0.5"}}},
        {"the largest integers stay integers",
         "9223372036854775807\r\n-9223372036854775808\r\n",
         {Row{9223372036854775807LL}, Row{INT64_MIN}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rowsOf(c.content), c.rows) << c.name;
    }
}

TEST(TextTable, ColumnTypesComeFromEveryValue) {
    std::istringstream in("1,1.5,1,x,\r\n2,2,\"2\",,\r\n,3,3\r\n");
    std::string error;
    auto table = readTextTable(in, error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->columns(), 5u);
    const std::vector<TextColumnType> expected = {TextColumnType::Integer, TextColumnType::Real,
                                                  TextColumnType::Text, TextColumnType::Text,
                                                  TextColumnType::Text};
    EXPECT_EQ(table->shape.types, expected);
    std::istringstream again("1,1.5,1,x,\r\n2,2,\"2\",,\r\n,3,3\r\n");
    auto shape = scanTextTable(again, error);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->types, expected) << "the streaming scan agrees";
    EXPECT_EQ(shape->rows, 3u);
}

// Malformed text is refused with the line it is on, never read as something else.
TEST(TextTable, MalformedRecordsAreRefusedWithTheirLine) {
    struct Case {
        const char* name;
        std::string content;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"quote never closed", "1,2\r\n3,\"open\r\n4,5\r\n",
         "line 2: a quoted value is not closed"},
        {"text after the closing quote", "\"a\"b,2\r\n", "line 1: text after the closing quote"},
        {"quote inside an unquoted value", "1\r\n2\r\nab\"c\r\n", "line 3: a quote inside a value"},
        {"line counted through quoted line breaks", "\"a\r\nb\",1\r\nx\"\r\n",
         "line 3: a quote inside a value"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.content);
        std::string error;
        EXPECT_FALSE(readTextTable(in, error)) << c.name;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.name << ": " << error;
    }
}

// The reader takes the text a block at a time; a record, a line end (CR LF), a doubled quote or
// the byte order mark cut by a block's end reads as it does in one piece.
TEST(TextTable, RecordsCutByTheReadersBlocksReadAsWhole) {
    const std::vector<std::string> texts = {
        "\xEF\xBB\xBF"
        "1,-82.3411,29.6512\r\n2,-82.3,29.6\r\n",
        "\"a, \"\"b\"\"\",\"two\r\nlines\"\r\nx\ry,\"\"\"\"\r\n\r\n 5 , 6 \n7",
        "1,2\r\n3,\"open\r\n4,5\r\n",
        "\"a\"  \rb\r\n",
    };
    const auto read = [](const std::string& text, std::size_t block) {
        std::istringstream in(text);
        CsvReader reader(in, block);
        std::vector<std::vector<CsvField>> records;
        std::vector<CsvField> fields;
        while (reader.next(fields)) {
            records.push_back(fields);
        }
        return std::make_pair(records, reader.error());
    };
    for (const auto& text : texts) {
        const auto whole = read(text, 1 << 16);
        for (std::size_t block = 4; block <= 9; ++block) {
            EXPECT_EQ(read(text, block), whole) << "block " << block << ": " << text;
        }
    }
}

TEST(TextTable, AFileThatCannotBeReadIsNamed) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(readTextTable(dir / "missing.csv", error));
    EXPECT_NE(error.find("missing.csv"), std::string::npos) << error;
    test::writeFile(dir / "bad.csv", "\"x");
    EXPECT_FALSE(readTextTable(dir / "bad.csv", error));
    EXPECT_NE(error.find("bad.csv: line 1"), std::string::npos) << error;
}

} // namespace
} // namespace sw
