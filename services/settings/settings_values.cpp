// The values of the table's options as words.
#include "services/settings/settings_values.h"

namespace svc {

bool parse_value(const Option& o, std::string_view word, int& value)
{
    if (o.kind == OptionKind::Switch) {
        if (word == "si" || word == "1") {
            value = 1;
            return true;
        }
        if (word == "no" || word == "0") {
            value = 0;
            return true;
        }
        return false;
    }
    // Plain digits without a leading zero; a long row of them is out of range anyway.
    if (word.empty() || word.size() > 6 || (word[0] == '0' && word.size() > 1)) {
        return false;
    }
    int n = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
        n = n * 10 + (c - '0');
    }
    if (n < o.low || n > o.high) {
        return false;
    }
    value = n;
    return true;
}

std::string value_word(const Option& o, int value)
{
    if (o.kind == OptionKind::Switch) {
        return value != 0 ? "si" : "no";
    }
    return std::to_string(value);
}

std::string value_rule(const Option& o)
{
    if (o.kind == OptionKind::Switch) {
        return "si or no";
    }
    return "a whole number from " + std::to_string(o.low) + " to " + std::to_string(o.high);
}

void mark_chosen(Settings& s, OptionGroup group)
{
    switch (group) {
    case OptionGroup::Window:
        s.windowChosen = true;
        break;
    }
}

} // namespace svc
