// The sequential-file services: the file table's results turned into raised errors.
#include <cstdio>

#include "services/entry.h"
#include "services/files/files.h"
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
        report_file_problem();
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
        report_file_problem();
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
        report_file_problem();
    }
    return item;
}

// One line on standard error for a failure that concerned a named file, with the
// system's reason: the dialog only shows the error's number and message.
void Services::report_file_problem()
{
    const std::string problem = files_->take_problem();
    if (!problem.empty()) {
        std::fprintf(stderr, "muvesecky: %s\n", problem.c_str());
    }
}

void Services::remove_unfinished_output(const std::string& name)
{
    if (FileTable::remove_leftover(name)) {
        std::fprintf(stderr, "muvesecky: removed %s, left by an interrupted save\n",
                     FileTable::pending_name(name).c_str());
    }
}

void Services::close_all_files(Here here)
{
    Entry entry(*this, here);
    if (!entry) {
        return;
    }
    if (const int err = files_->close_all()) {
        raise(err);
        report_file_problem();
    }
}

} // namespace svc
