// Files written whole or not at all: the new version goes to a hidden file beside the target,
// reaches the disk, and only then takes the target's name.
#pragma once

#include <string>
#include <string_view>

namespace svc {

// The hidden file a new version of `target` is written to: ".name.tmp" in the same folder.
std::string pending_name(const std::string& target);

// A hidden file opened for writing: its descriptor, or -1 and why not.
struct PendingOpen {
    int fd = -1;
    int err = 0;      // the system's reason when the open failed
    bool odd = false; // something other than a regular file is at that name: refused
};
// Opens (making or emptying) the hidden file `pending` without ever waiting (a pipe there is
// refused, not waited on) and without following a link at its name. `fresh`: it must not
// exist yet, so that no other name of an existing file (a hard link) is ever written through.
PendingOpen open_pending(const std::string& pending, bool fresh);
// Writes all the bytes; 0 or the system's reason.
int write_all(int fd, std::string_view bytes);
// Ends the hidden file: unless `err` already tells a failure, its data go to the disk and it
// is renamed over `target`. On any failure before the rename it is removed and the target
// stays as it was; EIO after it means the new name could not be stored (where the rename is
// kept only when the folder is). Closes fd; returns 0 or the reason (err itself when given).
int finish_pending(int fd, const std::string& pending, const std::string& target, int err);

// Writes `name`, a plain file of the working folder, whole or not at all. A link, folder, pipe
// or device at that name is left as it is and refused; a name with a folder in it is refused
// (nothing is ever written outside the working folder). Returns "" or "name: reason".
std::string write_whole_file(const std::string& name, std::string_view bytes);

} // namespace svc
