// Runs the tests the shim's TEST registered, and says how many passed.
#include "gtest/gtest.h"

int main()
{
    int failed = 0;
    for (const shim::Test& t : shim::tests()) {
        const int before = shim::failures();
        t.run();
        const bool ok = shim::failures() == before;
        failed += ok ? 0 : 1;
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", t.name);
    }
    std::printf("%d passed, %d failed\n", static_cast<int>(shim::tests().size()) - failed, failed);
    return failed == 0 ? 0 : 1;
}
