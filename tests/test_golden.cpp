// Whole-game runs replayed from tests/golden/*.trace (tests/support/golden_run.h): each line is
// one scripted action followed by what the player then sees, hears and finds on disk. A run
// that differs from its trace fails at the first line that moved and leaves
// build/golden-failures/<trace>/lineN-expected.png and lineN-got.png. MUV_GOLDEN_UPDATE=1
// rewrites the traces and keeps the picture after every line in
// tests/golden/pictures/<screen>.png: look at the new pictures before committing them.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/golden_run.h"

namespace {

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesItsTrace)
{
    const testing_support::TraceRun run = testing_support::run_trace(GetParam());
    for (std::size_t i = 0; i < run.got.size(); ++i) {
        if (!run.got[i].comment) {
            ASSERT_EQ(run.got[i].observed, run.expected[i].observed)
                << GetParam() << ".trace line " << i + 1 << ": " << run.got[i].text;
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
