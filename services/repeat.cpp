// Drawings repeated on every idle pass, skipped while they would store nothing.
#include <cstring>

#include "services/entry.h"
#include "services/services.h"

namespace svc {

bool Services::repeat_unchanged_bytes(RepeatMark& mark, std::span<const std::byte> inputs,
                                      Here here)
{
    Entry entry(*this, here);
    if (entry && mark.changes == screen_.changes() && inputs.size() == mark.inputs.size() &&
        (inputs.empty() || std::memcmp(inputs.data(), mark.inputs.data(), inputs.size()) == 0)) {
        screen_.set_pen(mark.pen);
        return true;
    }
    mark.inputs.assign(inputs.begin(), inputs.end());
    mark.changes = RepeatMark::kNotDrawn;
    mark.raisedBefore = raised_;
    return false;
}

void Services::repeat_drawn(RepeatMark& mark)
{
    // A drawing that raised an error runs again in full: the error shows again.
    if (raised_ == mark.raisedBefore) {
        mark.changes = screen_.changes();
        mark.pen = screen_.pen();
    }
}

} // namespace svc
