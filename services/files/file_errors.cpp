// What the system's refusals and failures on files mean to the game: its error numbers.
#include "services/files/file_errors.h"

#include <sys/stat.h>

#include <cerrno>

#include "services/common/errors.h"

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

} // namespace

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

} // namespace svc
