// The buffered bytes of an input file and the rules of its items.
#include "services/files/item_reader.h"

#include <unistd.h>

#include <cerrno>

#include "services/common/errors.h"

namespace svc {

namespace {
constexpr int kCtrlZ = 26;
} // namespace

void ByteReader::start(int fd)
{
    fd_ = fd;
    buffer_.resize(64 * 1024);
    if (peek() == kCtrlZ) {
        atEnd_ = true;
        len_ = 0;
    }
}

int ByteReader::peek()
{
    if (pos_ == len_ && !atEnd_) {
        fill();
    }
    return pos_ < len_ ? static_cast<unsigned char>(buffer_[pos_]) : -1;
}

int ByteReader::get()
{
    const int c = peek();
    pos_ += c >= 0 ? 1 : 0;
    return c;
}

void ByteReader::fill()
{
    pos_ = 0;
    len_ = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n > 0) {
            len_ = static_cast<std::size_t>(n);
            return;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        readErrno_ = n < 0 ? errno : 0;
        atEnd_ = true; // a read error ends the file as well
        return;
    }
}

int read_item(ByteReader& in, std::string& item, std::size_t maxItem)
{
    item.clear();
    auto keep = [&item, maxItem](int c) {
        if (item.size() < maxItem) {
            item += static_cast<char>(c);
        }
    };
    int c = in.peek();
    while (c == ' ' || c == '\t') {
        in.get();
        c = in.peek();
    }
    if (c < 0) {
        return in.failed() ? kDeviceUnavailable : kInputPastEnd;
    }
    if (c == '"') {
        in.get();
        while ((c = in.get()) >= 0 && c != '"') {
            keep(c);
        }
    } else {
        while ((c = in.peek()) >= 0 && c != ',' && c != '\r' && c != '\n') {
            keep(in.get());
        }
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) {
            item.pop_back();
        }
    }
    // Past the separator: a comma, or one line end (CR LF and LF CR count as one).
    while ((c = in.get()) >= 0) {
        if (c == ',') {
            break;
        }
        if (c == '\r' || c == '\n') {
            if (in.peek() == (c == '\r' ? '\n' : '\r')) {
                in.get();
            }
            break;
        }
    }
    return in.failed() ? kDeviceUnavailable : 0;
}

} // namespace svc
