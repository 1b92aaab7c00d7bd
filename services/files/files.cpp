// The open-file table: opening by number, quoted items written, items read back through
// the item reader, safe closing.
#include "services/files/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "services/files/item_reader.h"

namespace svc {

namespace {

bool parent_folder_exists(const std::string& name)
{
    const std::size_t slash = name.find_last_of('/');
    if (slash == std::string::npos) {
        return true;
    }
    struct stat st {};
    const std::string folder = slash == 0 ? "/" : name.substr(0, slash);
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// What the system's refusal to open or create `name` means to the game.
int open_error(int err, const std::string& name)
{
    switch (err) {
    case ENOENT:
        return parent_folder_exists(name) ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
        return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
    case EAGAIN:
        return kPermissionDenied;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return kDeviceUnavailable;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return kBadFileName;
    case EISDIR:
    case ELOOP:
        return kPathFileAccess;
    default:
        return kFileNotFound;
    }
}

// What a failure while writing, syncing or replacing a file means to the game.
int write_error(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
    case EROFS:
        return kPermissionDenied;
    case EIO:
        return kDeviceUnavailable;
    default:
        return kPathFileAccess;
    }
}

// The name as one absolute, normalised path, to spot a file opened twice.
std::string identity(const std::string& name)
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(name, ec);
    return (ec ? std::filesystem::path(name) : p).lexically_normal().string();
}

// Stores the folder's entry for a renamed file: 0, or EIO when it could not be stored. A
// folder its file system will not sync (EINVAL and the like) is no failure; in a browser the
// rename is kept only by this step, so a failure here is a save that was not kept.
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

ReadOpen open_for_reading(const std::string& name)
{
    ReadOpen r;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        r.err = errno;
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        r.odd = true;
        return r;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    r.fd = fd;
    return r;
}

std::string read_open_reason(const ReadOpen& r)
{
    return r.odd ? "not a regular file" : std::strerror(r.err);
}

// One open file.
struct FileTable::OpenFile {
    Mode mode = Mode::Input;
    int fd = -1;
    std::string identity;
    std::string name; // as the game gave it
    // Output: the file replaced on close, the hidden file written meanwhile, and whether a
    // write failed (the new contents are then incomplete and are dropped on close).
    std::string target;
    std::string pending;
    bool writeFailed = false;
    ByteReader input;

    ~OpenFile()
    {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

FileTable::FileTable() = default;

FileTable::~FileTable()
{
    close_all();
}

std::string FileTable::pending_name(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    if (slash == std::string::npos) {
        return "." + target + ".tmp";
    }
    return target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".tmp";
}

bool FileTable::remove_leftover(const std::string& target)
{
    const std::string pending = pending_name(target);
    struct stat st {};
    if (::lstat(pending.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return false;
    }
    return ::unlink(pending.c_str()) == 0;
}

int FileTable::fail(int code, const std::string& name, const std::string& reason)
{
    problem_ = name + ": " + reason;
    return code;
}

int FileTable::open(const std::string& name, Mode mode, int number)
{
    problem_.clear(); // only this call's own problem is told
    if (number < 1 || number > kMaxNumber) {
        return kBadFileNumber;
    }
    if (files_.count(number) != 0) {
        return kFileAlreadyOpen;
    }
    if (mode != Mode::Input && mode != Mode::Output) {
        return kBadFileMode;
    }
    if (name.empty() || name.find('\0') != std::string::npos) {
        return kBadFileName;
    }
    auto file = std::make_unique<OpenFile>();
    file->mode = mode;
    file->identity = identity(name);
    file->name = name;
    for (const auto& [n, other] : files_) {
        // The same file twice is refused unless both only read it.
        if (other->identity == file->identity &&
            (mode == Mode::Output || other->mode == Mode::Output)) {
            return kFileAlreadyOpen;
        }
    }

    struct stat st {};
    if (mode == Mode::Input) {
        const ReadOpen r = open_for_reading(name);
        if (r.fd < 0) {
            // Folders, pipes and devices are not sequential files.
            return fail(r.odd ? kPathFileAccess : open_error(r.err, name), name,
                        read_open_reason(r));
        }
        file->fd = r.fd;
        file->input.start(file->fd);
        files_.emplace(number, std::move(file));
        return 0;
    }

    file->target = name;
    bool existed = false;
    if (::stat(name.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            return fail(kPathFileAccess, name, "not a regular file");
        }
        if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) {
            const int err = errno;
            return fail(open_error(err, name), name, std::strerror(err));
        }
        // A link is followed: the file it names is the one replaced.
        if (char* real = ::realpath(name.c_str(), nullptr)) {
            file->target = real;
            std::free(real);
        }
        existed = true;
    } else if (errno != ENOENT) {
        const int err = errno;
        return fail(open_error(err, name), name, std::strerror(err));
    }
    file->pending = pending_name(file->target);
    // Without waiting: a pipe left at the hidden name would hold the open until a reader came
    // (none does: it is refused, or fails with ENXIO, as not a regular file).
    file->fd =
        ::open(file->pending.c_str(),
               O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    struct stat made {};
    if (file->fd < 0 && errno != ENXIO) {
        const int err = errno;
        return fail(open_error(err, file->pending), file->pending, std::strerror(err));
    }
    if (file->fd < 0 || ::fstat(file->fd, &made) != 0 || !S_ISREG(made.st_mode)) {
        return fail(kPathFileAccess, file->pending, "not a regular file");
    }
    ::fcntl(file->fd, F_SETFL, ::fcntl(file->fd, F_GETFL) & ~O_NONBLOCK);
    if (existed) {
        ::fchmod(file->fd, st.st_mode & 07777);
    }
    files_.emplace(number, std::move(file));
    return 0;
}

int FileTable::find(int number, Mode mode, OpenFile*& file)
{
    const auto it = files_.find(number);
    if (it == files_.end()) {
        return kBadFileNumber;
    }
    if (it->second->mode != mode) {
        return kBadFileMode;
    }
    file = it->second.get();
    return 0;
}

int FileTable::write(int number, std::string_view text)
{
    problem_.clear();
    OpenFile* file = nullptr;
    if (const int err = find(number, Mode::Output, file)) {
        return err;
    }
    OpenFile& f = *file;
    std::string line;
    line.reserve(text.size() + 4);
    line += '"';
    line += text;
    line += "\"\r\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(f.fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            f.writeFailed = true;
            return fail(write_error(err), f.pending, std::strerror(err));
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int FileTable::read(int number, std::string& item)
{
    problem_.clear();
    item.clear();
    OpenFile* file = nullptr;
    if (const int err = find(number, Mode::Input, file)) {
        return err;
    }
    const int err = read_item(file->input, item, kMaxItem);
    if (err == 0) {
        return 0;
    }
    const int sys = file->input.read_errno();
    return fail(err, file->name, sys != 0 ? std::strerror(sys) : "nothing more to read");
}

int FileTable::close_all()
{
    problem_.clear();
    int first = 0;
    for (auto& [number, file] : files_) {
        OpenFile& f = *file;
        if (f.mode != Mode::Output) {
            continue;
        }
        int err = f.writeFailed ? -1 : 0; // already reported when the write failed
        if (err == 0 && ::fsync(f.fd) != 0) {
            err = errno;
        }
        if (::close(f.fd) != 0 && err == 0) {
            err = errno;
        }
        f.fd = -1;
        if (err == 0 && ::rename(f.pending.c_str(), f.target.c_str()) != 0) {
            err = errno;
        }
        if (err == 0) {
            err = sync_folder_of(f.target);
        }
        if (err != 0) {
            // The old file stays as it was (or, its new name not stored, as it was kept).
            ::unlink(f.pending.c_str());
            if (err > 0 && first == 0) {
                first = fail(write_error(err), f.target, std::strerror(err));
            }
        }
    }
    files_.clear(); // closes the inputs
    return first;
}

} // namespace svc
