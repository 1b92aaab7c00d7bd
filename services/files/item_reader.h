// Reading the items of a sequential file back: the file's bytes through a fixed buffer, and
// the rules that cut them into items.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace svc {

// The bytes of an open file, read through a fixed buffer so that no file is ever held
// whole. The file descriptor stays its owner's. A read error ends the file as its end does
// and is kept, so the item that meets it can report it.
class ByteReader {
  public:
    // Starts reading fd from its current position. A file whose first byte is Ctrl-Z counts
    // as already at its end.
    void start(int fd);
    // The next byte (0..255) without taking it; -1 at the end of the file.
    int peek();
    int get();
    bool failed() const { return readErrno_ != 0; }
    int read_errno() const { return readErrno_; }

  private:
    void fill();

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool atEnd_ = false;
    int readErrno_ = 0;
};

// Reads the next item into item (left empty at the end of the file), keeping at most
// maxItem bytes of it: after spaces and tabs, a quoted item runs to the next double quote,
// any other to the next comma or line end, trailing spaces and tabs dropped. Then moves past
// the separator (a comma, or one line end: CR LF and LF CR count as one). Returns 0,
// kInputPastEnd when nothing is left, or kDeviceUnavailable after a read error.
int read_item(ByteReader& in, std::string& item, std::size_t maxItem);

} // namespace svc
