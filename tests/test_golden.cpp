// Whole-game runs replayed from tests/golden/*.trace by tests/support/golden_run.h, which tells
// what a failed or updated run leaves; look at the new pictures before committing an update.
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
