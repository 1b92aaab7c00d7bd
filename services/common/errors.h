// Numbered run-time errors of the services layer and the ways the program ends.
#pragma once

#include <string_view>

namespace svc {

// The error numbers the game can meet; the table in errors.cpp gives their messages.
enum ErrorCode : int {
    kSyntaxError = 2,
    kOutOfData = 4,
    kIllegalFunctionCall = 5,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kBadFileNumber = 52,
    kFileNotFound = 53,
    kBadFileMode = 54,
    kFileAlreadyOpen = 55,
    kInputPastEnd = 62,
    kBadFileName = 64,
    kDeviceUnavailable = 68,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
    // Memory-block errors: the game never meets them, but the dialog treats them apart.
    kFirstMemoryBlockError = 300,
    kLastMemoryBlockError = 313,
};

// The fixed English message of an error number ("Unprintable error" for unknown ones).
std::string_view error_message(int code);

// True for the errors after which the program cannot go on: their dialog offers only OK.
bool critical_error(int code);

// Raises an error on the current services instance: it becomes pending and is shown at
// the next check point. Only the first error raised before a check point is kept.
// Safe to call when no services instance exists (the error is then dropped).
void raise_error(int code);

// Thrown through the game's code to end the program: by a stop request, by "No" in
// the error dialog, by a critical error, or by end_program after its key wait.
struct ProgramExit {
    int exitCode = 0;
};

} // namespace svc
