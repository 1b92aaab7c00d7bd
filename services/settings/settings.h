// The player's settings: one table of options, each with its key in the settings file, its
// command-line option, its range and default, and its help line.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "services/platform/pad_keys.h"

namespace svc {

// The player's choices. A new setting is a field here and one row in kOptions.
struct Settings {
    int scale = 1;      // the window's whole multiple of the image
    int aspect = 0;     // 1: every screen shown at 4:3
    int fullscreen = 0; // 1: the game starts in full screen
    // The keys of the game pad's buttons (places in kPadKeys): confirm, back, the level menu's
    // new game and saved level, back to the title, the title's choice, save.
    int padA = pad_key("invio");
    int padB = pad_key("esc");
    int padX = pad_key("n");
    int padY = pad_key("l");
    int padBack = pad_key("x");
    int padStart = pad_key("spazio");
    int padLeftShoulder = pad_key("niente");
    int padRightShoulder = pad_key("ctrl_s");
    // Window options read from the file or given on the command line: without any, the
    // window equals the image and full screen behaves as it always did.
    bool windowChosen = false;
};

// Options of one group are chosen together: one given on the command line puts the others of
// its group back to their defaults (`--aspect` alone means scale 1, not the remembered scale).
enum class OptionGroup { Window, Pad };
enum class OptionKind {
    Number, // takes a whole number from `low` to `high` ("--scale 3"; "scala = 3")
    Switch, // on when given ("--aspect"; "formato_4_3 = si" or "no")
    PadKey  // a key's name from kPadKeys, in the file only ("pulsante_a = invio")
};

struct Option {
    const char* key;   // in the settings file
    const char* flag;  // on the command line, empty for a setting of the file only
    const char* value; // the value's name in the help ("N"), empty for a switch
    OptionKind kind;
    int low, high, fallback;
    int Settings::*field;
    OptionGroup group;
    const char* help; // one line
};

// A game pad button's row: in the settings file only, its default the field's own.
constexpr Option pad_row(const char* key, int Settings::*field, const char* help)
{
    return {key,
            "",
            "",
            OptionKind::PadKey,
            0,
            kPadKeyCount - 1,
            Settings{}.*field,
            field,
            OptionGroup::Pad,
            help};
}

// clang-format off
inline constexpr Option kOptions[] = {
    {"scala",          "--scale",      "N", OptionKind::Number, 1, 8, 1, &Settings::scale,
     OptionGroup::Window, "show the picture N times as large (1 to 8, as far as the desktop allows)"},
    {"formato_4_3",    "--aspect",     "",  OptionKind::Switch, 0, 1, 0, &Settings::aspect,
     OptionGroup::Window, "show every screen at 4:3, as on the screens the game was drawn for"},
    {"schermo_intero", "--fullscreen", "",  OptionKind::Switch, 0, 1, 0, &Settings::fullscreen,
     OptionGroup::Window, "start in full screen (the largest whole scale that fits, centred)"},
    pad_row("pulsante_a",       &Settings::padA,    "the key of the game pad's A button (bottom)"),
    pad_row("pulsante_b",       &Settings::padB,    "the key of the game pad's B button (right)"),
    pad_row("pulsante_x",       &Settings::padX,    "the key of the game pad's X button (left)"),
    pad_row("pulsante_y",       &Settings::padY,    "the key of the game pad's Y button (top)"),
    pad_row("pulsante_select",  &Settings::padBack, "the key of the game pad's Back (Select, View)"),
    pad_row("pulsante_start",   &Settings::padStart, "the key of the game pad's Start (Menu)"),
    pad_row("dorsale_sinistro", &Settings::padLeftShoulder, "the key of the left shoulder button"),
    pad_row("dorsale_destro",   &Settings::padRightShoulder,
            "the key of the right shoulder button"),
};
// clang-format on

// The keys of the game pad's buttons as the SDL back end takes them.
PadMap pad_map(const Settings& s);

// The settings file in the game folder, and the window choice's file of earlier versions.
inline constexpr const char* kSettingsFile = "impostazioni.cfg";
inline constexpr const char* kOldWindowFile = "finestra.cfg";
// Longer settings files are not read (a link to an endless file cannot hold the start).
inline constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// The command line: what it asks for, and the settings it gives.
struct CommandLine {
    enum class Ask { Play, Help, Version, Wrong } ask = Ask::Play;
    std::string error;                                // for Wrong
    std::vector<std::pair<const Option*, int>> given; // for Play: the options and their values
};
// Reads the options in argv[1..]; the first -h/--help, -V/--version or wrong word decides.
CommandLine parse_command_line(int argc, const char* const* argv);
// Applies the options given to s (they are then to be remembered).
void apply_command_line(const CommandLine& line, Settings& s);
// The help's lines for the options of the table, then --help and --version.
std::string options_help();

// Reads `path` into s: each line "key = value" of a known key with a good value sets it; "#"
// starts a comment; any other line costs only itself. Returns the problems to tell, one line
// each ("impostazioni.cfg: line 3: ..."); a missing file is none.
std::vector<std::string> read_settings(const std::string& path, Settings& s);
// Writes s to `path` whole or not at all: the file's other lines (comments, keys of other
// versions, damaged lines) are kept, the known keys get their values, missing ones are added.
// Returns "" or the problem.
std::string write_settings(const std::string& path, const Settings& s);
// The settings at the start: the settings file, or when there is none the window choice of an
// earlier version's finestra.cfg, carried over into a new settings file; finestra.cfg is then
// removed (a damaged one stays, told). Adds the problems to tell.
Settings load_settings(std::vector<std::string>& problems);

} // namespace svc
