// The command line read through the table of options, and the options' help.
#include <algorithm>
#include <string_view>

#include "services/settings/settings.h"
#include "services/settings/settings_values.h"

namespace svc {

namespace {

const Option* option_of_flag(std::string_view flag)
{
    for (const Option& o : kOptions) {
        if (*o.flag != '\0' && flag == o.flag) {
            return &o;
        }
    }
    return nullptr;
}

} // namespace

CommandLine parse_command_line(int argc, const char* const* argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const Option* o = option_of_flag(arg);
        int value = 1; // a switch is on when given
        if (arg == "-h" || arg == "--help") {
            line.ask = CommandLine::Ask::Help;
        } else if (arg == "-V" || arg == "--version") {
            line.ask = CommandLine::Ask::Version;
        } else if (o == nullptr) {
            line.ask = CommandLine::Ask::Wrong;
            line.error = "unknown option '" + std::string(arg) + "'";
        } else if (o->kind == OptionKind::Number &&
                   (i + 1 >= argc || !parse_value(*o, argv[++i], value))) {
            line.ask = CommandLine::Ask::Wrong;
            line.error = std::string(o->flag) + " takes " + value_rule(*o);
        }
        if (line.ask != CommandLine::Ask::Play) {
            line.given.clear();
            return line;
        }
        line.given.emplace_back(o, value);
    }
    return line;
}

void apply_command_line(const CommandLine& line, Settings& s)
{
    // The options of a group make its whole choice afresh.
    for (const auto& [o, value] : line.given) {
        for (const Option& other : kOptions) {
            if (other.group == o->group) {
                s.*other.field = other.fallback;
            }
        }
    }
    for (const auto& [o, value] : line.given) {
        s.*o->field = value;
        mark_chosen(s, o->group);
    }
}

std::string options_help()
{
    std::string text;
    auto add = [&text](std::string words, const char* help) {
        words.resize(std::max<std::size_t>(words.size() + 1, 15), ' ');
        text += "  " + words + help + "\n";
    };
    for (const Option& o : kOptions) {
        if (*o.flag == '\0') {
            continue; // a setting of the file only
        }
        add(std::string(o.flag) + (*o.value != '\0' ? std::string(" ") + o.value : ""), o.help);
    }
    add("-h, --help", "show this help and exit");
    add("-V, --version", "show the version and exit");
    return text;
}

} // namespace svc
