// Whole-or-nothing file writing: the hidden file beside the target, synced, then renamed.
#include "services/files/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace svc {

namespace {

// The rename itself reaches the disk only with the folder: 0, or EIO when the folder's entry
// could not be stored. A folder its file system will not sync (EINVAL and the like) is no
// failure; in a browser the rename is kept only by this step, so a failure here is a save
// that was not kept.
int sync_folder_of(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    const int err = ::fsync(fd) != 0 && errno == EIO ? EIO : 0;
    ::close(fd);
    return err;
}

} // namespace

std::string pending_name(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    if (slash == std::string::npos) {
        return "." + target + ".tmp";
    }
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".tmp";
}

PendingOpen open_pending(const std::string& pending, bool fresh)
{
    PendingOpen p;
    // Without waiting: a pipe at the name would hold the open until a reader came (none
    // does: the open fails with ENXIO, or the pipe is refused below).
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY |
                      O_NONBLOCK | (fresh ? O_EXCL : 0);
    p.fd = ::open(pending.c_str(), flags, 0666);
    if (p.fd < 0) {
        p.err = errno;
        p.odd = p.err == ENXIO;
        return p;
    }
    struct stat made {};
    if (::fstat(p.fd, &made) != 0 || !S_ISREG(made.st_mode)) {
        ::close(p.fd);
        p.fd = -1;
        p.odd = true;
        return p;
    }
    ::fcntl(p.fd, F_SETFL, ::fcntl(p.fd, F_GETFL) & ~O_NONBLOCK);
    return p;
}

int write_all(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int finish_pending(int fd, const std::string& pending, const std::string& target, int err)
{
    if (err == 0 && ::fsync(fd) != 0) {
        err = errno;
    }
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err == 0 && ::rename(pending.c_str(), target.c_str()) != 0) {
        err = errno;
    }
    if (err != 0) {
        ::unlink(pending.c_str()); // the old file stays as it was
        return err;
    }
    return sync_folder_of(target);
}

std::string write_whole_file(const std::string& name, std::string_view bytes)
{
    if (name.empty() || name.find('/') != std::string::npos) {
        return name + ": not a name in the game folder";
    }
    struct stat st {};
    if (::lstat(name.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            return name + ": a link, left as it is";
        }
        if (!S_ISREG(st.st_mode)) {
            return name + ": not a regular file";
        }
    } else if (errno != ENOENT) {
        return name + ": " + std::strerror(errno);
    }
    // What a kill left at the hidden name, whatever it is but a folder, goes first.
    const std::string pending = pending_name(name);
    if (::lstat(pending.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        ::unlink(pending.c_str());
    }
    const PendingOpen p = open_pending(pending, true);
    if (p.fd < 0) {
        return pending + ": " + (p.odd ? "not a regular file" : std::strerror(p.err));
    }
    if (const int err = finish_pending(p.fd, pending, name, write_all(p.fd, bytes))) {
        return name + ": " + std::strerror(err);
    }
    return "";
}

} // namespace svc
