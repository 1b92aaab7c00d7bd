// The sequential-file services: the file table's results turned into raised errors.
#include "services/entry.h"
#include "services/files.h"
#include "services/services.h"

namespace svc {

void Services::open_file(const std::string& name, FileMode mode, int number, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (const int err = files_->open(name, static_cast<FileTable::Mode>(mode), number)) {
        raise(err);
    }
}

void Services::write_item(int number, std::string_view text, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (const int err = files_->write(number, text)) {
        raise(err);
    }
}

std::string Services::read_item(int number, Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return {};
    }
    std::string item;
    if (const int err = files_->read(number, item)) {
        raise(err);
    }
    return item;
}

void Services::close_all_files(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (const int err = files_->close_all()) {
        raise(err);
    }
}

} // namespace svc
