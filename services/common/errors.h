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

// Where a part of the game reports a run-time error: the services make it pending and show
// it at the next check point (only the first one raised before a check point is kept).
// Parts that can fail take one from their caller, usually the services object itself.
class ErrorSink {
  public:
    virtual void raise(int code) = 0;

  protected:
    ~ErrorSink() = default;
};

// Thrown through the game's code to end the program: by a stop request, by "No" in
// the error dialog, by a critical error, or by end_program after its key wait.
struct ProgramExit {
    int exitCode = 0;
};

} // namespace svc
