// The table of open sequential files behind open_file, read_item, write_item and
// close_all_files: one-line quoted text items in files of the working directory.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "services/common/errors.h"

namespace svc {

// A file opened for reading: its descriptor, or -1 and why not.
struct ReadOpen {
    int fd = -1;
    int err = 0;      // the system's reason when the open failed
    bool odd = false; // it opened, but is a folder, pipe or device: refused and closed
};
// Opens name for reading without ever waiting (a pipe or a device in place of a file cannot
// hang the game) and keeps it only if it is a regular file; the descriptor then blocks as
// usual again.
ReadOpen open_for_reading(const std::string& name);
// The reason for a failed open_for_reading, as one short phrase.
std::string read_open_reason(const ReadOpen& r);

// Open files by number (1..255). Every operation returns 0 or the error number to raise,
// and a failed operation changes nothing.
// Output is safe against crashes: it goes to a hidden file (".name.tmp") beside the target,
// which replaces the target only when the file is closed, after the data reached the disk.
// Until then the old file stays whole on disk. Destroying the table closes its files.
class FileTable {
  public:
    // The open modes, numbered as the facade's FileMode; the table keeps its own so that it
    // builds without the facade (the fuzz targets compile it alone).
    enum class Mode { Input = 3, Output = 4 };
    static constexpr int kMaxNumber = 255;
    // Longest item read_item keeps; the rest of a longer item is read past and dropped.
    static constexpr std::size_t kMaxItem = 32767;

    FileTable();
    ~FileTable();
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;

    // Opens name (relative to the working directory) as file `number`.
    int open(const std::string& name, Mode mode, int number);
    // Writes text as one quoted item: 0x22, the bytes, 0x22, CR LF.
    int write(int number, std::string_view text);
    // Reads the next item into item (left empty on end of file).
    int read(int number, std::string& item);
    // Closes every open file; written data are on disk afterwards. Returns the first
    // error met (the other files are still closed; a failed output leaves the old file).
    int close_all();
    bool is_open(int number) const { return files_.count(number) != 0; }
    // "name: the system's reason" for the last failure that concerned a named file (empty
    // when there was none since the last call); taken away by the call.
    std::string take_problem() { return std::exchange(problem_, {}); }

    // The hidden file output goes to until it is closed.
    static std::string pending_name(const std::string& target);
    // Removes the hidden file of an output to `target` that was never closed (the program
    // was killed while writing), whatever it is but a folder. True if one was removed.
    static bool remove_leftover(const std::string& target);

  private:
    struct OpenFile;
    // The file open as `number` in `mode`, or the error to raise: 52 when none is open
    // there, 54 when it is open the other way.
    int find(int number, Mode mode, OpenFile*& file);

    // Notes the problem with `name` for take_problem and returns code.
    int fail(int code, const std::string& name, const std::string& reason);

    std::map<int, std::unique_ptr<OpenFile>> files_;
    std::string problem_;
};

} // namespace svc
