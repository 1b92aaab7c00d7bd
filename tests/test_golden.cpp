// Whole-game runs replayed from tests/golden/*.trace (tests/support/golden_run.h): each line is
// one scripted action followed by what the player then sees, hears and finds on disk. A run
// that differs from its trace fails at the first line that moved and leaves
// build/golden-failures/<trace>/lineN-expected.png and lineN-got.png. MUV_GOLDEN_UPDATE=1
// rewrites the traces and keeps the picture after every line in
// tests/golden/pictures/<screen>.png: look at the new pictures before committing them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/golden_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TraceLine;

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesItsTrace)
{
    const fs::path path = testing_support::golden_dir() / (GetParam() + ".trace");
    const std::vector<TraceLine> expected = testing_support::read_trace(path);
    const std::vector<TraceLine> lines = testing_support::play_trace(
        expected, fs::path(MUV_DATA_DIR).parent_path() / "golden-failures" / GetParam());
    if (testing_support::updating_golden()) {
        testing_support::write_trace(path, lines);
        return;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].comment) {
            ASSERT_EQ(lines[i].observed, expected[i].observed)
                << GetParam() << ".trace line " << i + 1 << ": " << lines[i].text;
        }
    }
}

// After an update, pictures that no trace names any more are dropped.
class DropUnusedPictures : public ::testing::Environment {
    void TearDown() override { testing_support::drop_unused_pictures(); }
};
const auto* const kDropUnused = ::testing::AddGlobalTestEnvironment(new DropUnusedPictures);

INSTANTIATE_TEST_SUITE_P(Runs, Golden, ::testing::ValuesIn(testing_support::trace_names()),
                         [](const auto& info) { return info.param; });

} // namespace
