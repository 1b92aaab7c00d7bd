// The values of the table's options as words.
#include "services/settings/settings_values.h"

#include <utility>

namespace svc {

bool parse_value(const Option& o, std::string_view word, int& value)
{
    if (o.kind == OptionKind::PadKey) {
        const int key = pad_key(word);
        value = key >= 0 ? key : value;
        return key >= 0;
    }
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
    if (o.kind == OptionKind::PadKey) {
        return value >= 0 && value < kPadKeyCount ? kPadKeys[value].name : "niente";
    }
    if (o.kind == OptionKind::Switch) {
        return value != 0 ? "si" : "no";
    }
    return std::to_string(value);
}

std::string value_rule(const Option& o)
{
    if (o.kind == OptionKind::PadKey) {
        std::string names;
        for (const PadKey& k : kPadKeys) {
            names += std::string(names.empty() ? "" : ", ") + k.name;
        }
        return "one of " + names;
    }
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
    case OptionGroup::Pad: // always in force, chosen or not
        break;
    }
}

PadMap pad_map(const Settings& s)
{
    const std::pair<PadButton, int> keys[] = {
        {PadButton::A, s.padA},
        {PadButton::B, s.padB},
        {PadButton::X, s.padX},
        {PadButton::Y, s.padY},
        {PadButton::Back, s.padBack},
        {PadButton::Start, s.padStart},
        {PadButton::LeftShoulder, s.padLeftShoulder},
        {PadButton::RightShoulder, s.padRightShoulder},
    };
    PadMap map;
    for (const auto& [button, key] : keys) {
        map.keyOf[static_cast<std::size_t>(button)] = static_cast<std::uint8_t>(key);
    }
    return map;
}

} // namespace svc
