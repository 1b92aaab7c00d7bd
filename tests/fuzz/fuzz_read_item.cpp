// Fuzz target: reading items from a file of any bytes ends, stays in bounds, and keeps the
// item rules.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "services/files/files.h"

namespace {

// The bytes go to an in-memory file, opened again by its /proc name like any file.
int memory_file()
{
    static const int fd = ::memfd_create("fuzz_read_item", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = memory_file();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        return 0;
    }
    svc::FileTable table;
    if (table.open("/proc/self/fd/" + std::to_string(fd), svc::FileTable::Mode::Input, 1) != 0) {
        __builtin_trap();
    }
    std::size_t reads = 0;
    for (;;) {
        std::string item;
        const int err = table.read(1, item);
        if (err != 0) {
            if (err != svc::kInputPastEnd || !item.empty()) {
                __builtin_trap();
            }
            break;
        }
        // Every read passes at least one byte.
        if (++reads > size || item.size() > svc::FileTable::kMaxItem) {
            __builtin_trap();
        }
    }
    return 0;
}
