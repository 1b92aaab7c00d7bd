// Error messages and the process-wide route from raise_error to the services instance.
#include "services/errors.h"

#include "services/services.h"

namespace svc {

std::string_view error_message(int code)
{
    switch (code) {
    case 2:
        return "Syntax error";
    case 4:
        return "Out of DATA";
    case 5:
        return "Illegal function call";
    case 6:
        return "Overflow";
    case 7:
        return "Out of memory";
    case 9:
        return "Subscript out of range";
    case 52:
        return "Bad file name or number";
    case 53:
        return "File not found";
    case 54:
        return "Bad file mode";
    case 55:
        return "File already open";
    case 62:
        return "Input past end of file";
    case 64:
        return "Bad file name";
    case 68:
        return "Device unavailable";
    case 70:
        return "Permission denied";
    case 75:
        return "Path/File access error";
    case 76:
        return "Path not found";
    default:
        return "Unprintable error";
    }
}

void raise_error(int code)
{
    if (Services* s = Services::current()) {
        s->raise(code);
    }
}

} // namespace svc
