// A fault in an asset source, and reading a source file whole (source_text.cpp); the
// helpers that read lines, words and numbers are in source_text.h.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace assets {

// A fault in a source file, with its file name and line in the message.
class SourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a whole file; SourceError if it cannot be read.
std::string read_text_file(const std::filesystem::path& path);

} // namespace assets
