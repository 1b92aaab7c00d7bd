// Just enough of GoogleTest to run a test file of ours in the browser build's C library (under
// Node.js), where GoogleTest itself is not built: TEST, and EXPECT and ASSERT of a truth or an
// equality, each taking a message after "<<". Every test runs from main; a failure prints
// where and why and makes the exit code 1.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace shim {

struct Test {
    const char* name;
    void (*run)();
};

inline std::vector<Test>& tests()
{
    static std::vector<Test> all;
    return all;
}

inline int& failures()
{
    static int count = 0;
    return count;
}

struct Register {
    Register(const char* name, void (*run)()) { tests().push_back({name, run}); }
};

class Message {
  public:
    Message(const char* file, int line, const char* what) : file_(file), line_(line), what_(what) {}
    template <class T> Message& operator<<(const T& v)
    {
        text_ << v;
        return *this;
    }
    void report() const
    {
        std::printf("%s:%d: failed: %s %s\n", file_, line_, what_, text_.str().c_str());
        ++failures();
    }

  private:
    const char* file_;
    int line_;
    const char* what_;
    std::ostringstream text_;
};

// `fail = message` reports it; a void expression, so ASSERT can return it.
struct Fail {
    void operator=(const Message& m) const { m.report(); }
};

} // namespace shim

#define TEST(suite, name)                                                                          \
    static void suite##_##name();                                                                  \
    static const ::shim::Register suite##_##name##_registered(#suite "." #name, suite##_##name);   \
    static void suite##_##name()

#define SHIM_CHECK(ok, what, onFail)                                                               \
    if (ok)                                                                                        \
        ;                                                                                          \
    else                                                                                           \
        onFail ::shim::Fail() = ::shim::Message(__FILE__, __LINE__, what)

#define EXPECT_TRUE(c) SHIM_CHECK((c), #c, )
#define ASSERT_TRUE(c) SHIM_CHECK((c), #c, return )
#define EXPECT_EQ(a, b) SHIM_CHECK((a) == (b), #a " == " #b, )
#define ASSERT_EQ(a, b) SHIM_CHECK((a) == (b), #a " == " #b, return )
