// Randomised checks (fixed seeds) of the number forms and of reading items from any bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "services/files.h"
#include "services/number_text.h"
#include "tests/fuzz/number_round_trip.h"
#include "tests/support/harness.h"

namespace {

using svc::number_text;
using svc::text_number;

// A text printed by the game reads back close to the number and prints the same again.
TEST(RandomNumbers, SinglesReadBackToTheirOwnText)
{
    std::mt19937 rng(20240511);
    for (int i = 0; i < 300000; ++i) {
        const float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        ASSERT_EQ(number_round_trip::fault(x), nullptr) << number_text(x);
    }
}

TEST(RandomNumbers, DoublesReadBackToTheirOwnText)
{
    std::mt19937_64 rng(77);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(static_cast<std::uint64_t>(rng()));
        ASSERT_EQ(number_round_trip::fault(x), nullptr) << number_text(x);
        ASSERT_EQ(number_text(x).find('E'), std::string::npos);
    }
    // The edges the fuzzing found: a text halfway between two doubles, and the largest one.
    EXPECT_EQ(number_text(1.0000000000000001e23), " 1D+23");
    EXPECT_EQ(number_text(text_number(" 1D+23")), " 9.999999999999999D+22");
    EXPECT_EQ(number_round_trip::fault(1.0000000000000001e23), nullptr);
    EXPECT_EQ(number_round_trip::fault(-std::numeric_limits<double>::max()), nullptr);
    for (int v = -32768; v <= 32767; ++v) {
        ASSERT_EQ(text_number(number_text(v)), v);
        ASSERT_EQ(number_text(static_cast<float>(v)), number_text(v));
        ASSERT_EQ(number_text(static_cast<double>(v)), number_text(v));
    }
}

// Reading a number agrees with the C library on the same text once the spaces and tabs
// are taken out and D is read as E.
TEST(RandomNumbers, ReadingAgreesWithTheLibraryOnRandomTexts)
{
    std::mt19937 rng(5);
    const std::string alphabet = "0123456789000+-..eEdD \t\t,:";
    for (int i = 0; i < 300000; ++i) {
        std::string text(rng() % 30, ' ');
        for (char& c : text) {
            c = alphabet[rng() % alphabet.size()];
        }
        std::string plain;
        for (const char c : text) {
            if (c != ' ' && c != '\t') {
                plain += (c == 'd' || c == 'D') ? 'E' : c;
            }
        }
        const double expected = std::strtod(plain.c_str(), nullptr);
        ASSERT_EQ(text_number(text), expected) << '"' << text << '"';
    }
    // Any bytes at all: never a crash, never a NaN.
    for (int i = 0; i < 100000; ++i) {
        std::string text(rng() % 64, ' ');
        for (char& c : text) {
            c = static_cast<char>(rng());
        }
        ASSERT_FALSE(std::isnan(text_number(text)));
    }
}

// The items of a file by the reading rules, worked on the bytes in memory.
std::vector<std::string> expected_items(const std::string& b)
{
    std::vector<std::string> out;
    const std::size_t n = b.size();
    std::size_t i = 0;
    if (n > 0 && b[0] == 26) {
        return out;
    }
    for (;;) {
        i = b.find_first_not_of(" \t", i);
        if (i == std::string::npos) {
            return out;
        }
        std::string item;
        if (b[i] == '"') {
            const std::size_t end = std::min(b.find('"', i + 1), n);
            item = b.substr(i + 1, end - i - 1).substr(0, svc::FileTable::kMaxItem);
            i = std::min(end + 1, n);
        } else {
            const std::size_t end = std::min(b.find_first_of(",\r\n", i), n);
            item = b.substr(i, end - i).substr(0, svc::FileTable::kMaxItem);
            item.erase(item.find_last_not_of(" \t") + 1);
            i = end;
        }
        const std::size_t sep = b.find_first_of(",\r\n", i);
        if (sep == std::string::npos) {
            i = n;
        } else {
            i = sep + 1;
            if (b[sep] != ',' && i < n && (b[i] == '\r' || b[i] == '\n') && b[i] != b[sep]) {
                ++i;
            }
        }
        out.push_back(std::move(item));
    }
}

std::vector<std::string> read_all(const std::string& bytes)
{
    // A fresh name each time: rewriting one file makes the file system flush it.
    static int serial = 0;
    const std::string name = "random" + std::to_string(++serial) + ".txt";
    testing_support::write_file(name, bytes);
    svc::FileTable table;
    std::vector<std::string> out;
    EXPECT_EQ(table.open(name, svc::FileTable::Mode::Input, 1), 0);
    std::filesystem::remove(name); // the open file stays readable
    // Every read passes at least one byte, so the file's length bounds the reads.
    for (std::size_t guard = 0; guard <= bytes.size() + 1; ++guard) {
        std::string item;
        const int err = table.read(1, item);
        if (err != 0) {
            EXPECT_EQ(err, svc::kInputPastEnd);
            EXPECT_TRUE(item.empty());
            return out;
        }
        out.push_back(std::move(item));
    }
    ADD_FAILURE() << "reading did not reach the end";
    return out;
}

TEST(RandomFiles, ItemsOfRandomBytesFollowTheRules)
{
    testing_support::TempDir dir;
    std::mt19937 rng(9);
    const std::string separators = "\"\",,\r\n \t\x1A";
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(rng() % 120, ' ');
        for (char& c : bytes) {
            c = rng() % 2 ? separators[rng() % separators.size()] : static_cast<char>(rng());
        }
        ASSERT_EQ(read_all(bytes), expected_items(bytes)) << i;
    }
}

TEST(RandomFiles, AMegabyteOfGarbageReadsAcrossTheBuffer)
{
    testing_support::TempDir dir;
    std::mt19937 rng(11);
    std::string bytes(1 << 20, ' ');
    for (char& c : bytes) {
        c = static_cast<char>(rng());
    }
    EXPECT_EQ(read_all(bytes), expected_items(bytes));
    // Long stretches without separators, across many buffer fills.
    std::string sparse(1 << 20, 'a');
    for (std::size_t at = 70000; at < sparse.size(); at += 70001) {
        sparse[at] = (at / 70001) % 2 ? '\n' : '"';
    }
    EXPECT_EQ(read_all(sparse), expected_items(sparse));
}

} // namespace
