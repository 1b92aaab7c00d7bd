// The printed forms of numbers and numbers read back from text, against
// tests/golden/numbers.table (written by hand from the runtime's rules, not generated).
#include "services/common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The text between the line's first and last double quotes, with \t as a tab.
std::string between_quotes(const std::string& line)
{
    std::string s = line.substr(line.find('"') + 1, line.rfind('"') - line.find('"') - 1);
    for (std::size_t at; (at = s.find("\\t")) != std::string::npos;) {
        s.replace(at, 2, "\t");
    }
    return s;
}

// number_text (or number_item) of the value read as the table's type.
std::string printed(const std::string& type, const std::string& value, bool item)
{
    auto form = [item](auto v) { return item ? svc::number_item(v) : svc::number_text(v); };
    const double v = std::strtod(value.c_str(), nullptr);
    if (type == "int16") {
        return form(static_cast<std::int16_t>(v));
    }
    if (type == "int") {
        return form(static_cast<int>(v));
    }
    return type == "single" ? form(std::strtof(value.c_str(), nullptr)) : form(v);
}

TEST(NumberText, PrintedAndReadBackAsRecorded)
{
    std::ifstream table(MUV_SOURCE_DIR "/tests/golden/numbers.table");
    ASSERT_TRUE(table.good());
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        std::istringstream words(line);
        std::string verb, type, value;
        words >> verb;
        if (verb == "read") {
            const double want = std::strtod(line.substr(line.rfind('"') + 1).c_str(), nullptr);
            const double got = svc::text_number(between_quotes(line));
            EXPECT_TRUE(got == want && std::signbit(got) == std::signbit(want)) << line << got;
        } else if (verb == "print" || verb == "item") {
            words >> type >> value;
            EXPECT_EQ(printed(type, value, verb == "item"), between_quotes(line)) << line;
        } else {
            continue;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 66);
}

} // namespace
