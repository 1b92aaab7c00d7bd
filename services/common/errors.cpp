// The table of error numbers and their messages.
#include "services/common/errors.h"

namespace svc {
namespace {

// One row per error, or per run of numbers that share a message.
struct ErrorRow {
    int first;
    int last;
    std::string_view message;
    bool critical;
};

// clang-format off
constexpr ErrorRow kErrorTable[] = {
    {kSyntaxError,           kSyntaxError,          "Syntax error",            false},
    {kOutOfData,             kOutOfData,            "Out of DATA",             false},
    {kIllegalFunctionCall,   kIllegalFunctionCall,  "Illegal function call",   false},
    {kOverflow,              kOverflow,             "Overflow",                false},
    {kSubscriptOutOfRange,   kSubscriptOutOfRange,  "Subscript out of range",  false},
    {kBadFileNumber,         kBadFileNumber,        "Bad file name or number", false},
    {kFileNotFound,          kFileNotFound,         "File not found",          false},
    {kBadFileMode,           kBadFileMode,          "Bad file mode",           false},
    {kFileAlreadyOpen,       kFileAlreadyOpen,      "File already open",       false},
    {kInputPastEnd,          kInputPastEnd,         "Input past end of file",  false},
    {kBadFileName,           kBadFileName,          "Bad file name",           false},
    {kDeviceUnavailable,     kDeviceUnavailable,    "Device unavailable",      false},
    {kPermissionDenied,      kPermissionDenied,     "Permission denied",       false},
    {kPathFileAccess,        kPathFileAccess,       "Path/File access error",  false},
    {kPathNotFound,          kPathNotFound,         "Path not found",          false},
    {kFirstMemoryBlockError, kLastMemoryBlockError, "Unprintable error",       true},
};
// clang-format on

constexpr ErrorRow kUnknownError = {0, 0, "Unprintable error", false};

const ErrorRow& row_of(int code)
{
    for (const ErrorRow& row : kErrorTable) {
        if (code >= row.first && code <= row.last) {
            return row;
        }
    }
    return kUnknownError;
}

} // namespace

std::string_view error_message(int code)
{
    return row_of(code).message;
}

bool critical_error(int code)
{
    return row_of(code).critical;
}

} // namespace svc
