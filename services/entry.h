// Private: the guard every public service operation starts with.
#pragma once

#include "services/services.h"

namespace svc {

// Outermost call: passes the check point (which may show the error dialog or end the
// program) and records the caller's line as the current step. Nested call (one service
// using another): proceeds only while no error is pending.
// Usage (in an operation):  Entry entry(*this, here); if (!entry) { return; }
class Services::Entry {
  public:
    Entry(Services& s, const Here& here) : s_(s), ok_(s.enter(here)) { ++s_.depth_; }
    ~Entry() { --s_.depth_; }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    explicit operator bool() const { return ok_; }

  private:
    Services& s_;
    bool ok_;
};

} // namespace svc
