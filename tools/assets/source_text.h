// Reading the picture sources, text files of lines and words: the helpers that cut lines
// into words and numbers, and report a fault with its file and line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/assets/source_error.h"

namespace assets {

// Throws SourceError for line `line` of `file`.
[[noreturn]] void fail(const std::string& file, int line, const std::string& message);

// One line of a source, numbered from 1, without its line end.
struct Line {
    int number;
    std::string text;
};
std::vector<Line> split_lines(std::string_view text);

// s without leading and trailing spaces and tabs.
std::string trim(const std::string& s);
// True for a line of nothing but blanks, or one whose first word starts with "#".
bool is_blank_or_comment(const std::string& s);

// Words of a command line; a double-quoted word may hold spaces; "#" starts a comment.
std::vector<std::string> words_of(const std::string& s, const std::string& file, int line);
// The word without its double quotes; it must have them.
std::string unquote(const std::string& word, const std::string& file, int line);
// A finite number, or a whole one within +-100000.
double number_of(const std::string& word, const std::string& file, int line);
int whole_number_of(const std::string& word, const std::string& file, int line);

} // namespace assets
