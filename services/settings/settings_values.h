// The values of the table's options as words, shared by the command line and the file.
#pragma once

#include <string>
#include <string_view>

#include "services/settings/settings.h"

namespace svc {

// Reads one value of option o ("3"; "si", "no", "1" or "0" for a switch); false if it is not
// one the option takes.
bool parse_value(const Option& o, std::string_view word, int& value);
// The value as the file writes it.
std::string value_word(const Option& o, int value);
// What the option takes, for a message: "a whole number from 1 to 8", "si or no".
std::string value_rule(const Option& o);
// Notes that a setting of the group was read or given.
void mark_chosen(Settings& s, OptionGroup group);

} // namespace svc
