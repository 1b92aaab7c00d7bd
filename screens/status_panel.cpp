// The status panel: level, time, save and menu hints, distances, X-ray gauge and compass box.
#include "screens/status_panel.h"

#include <array>
#include <string_view>

#include "core/level_clock.h"
#include "core/print_at.h"
#include "core/xray.h"
#include "screens/panel_boxes.h"
#include "services/common/number_text.h"

namespace screens {
namespace {

using game::i16;
using game::print_at;
using std::string_view;

// Eight full blocks and eight shaded ones, cut to length for the gauge.
constexpr string_view kFullBlocks = "\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB";
constexpr string_view kShadedBlocks = "\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1";

// The time as the box shows it: " 4,07 Min. ". Written into `out`, which it returns a view of.
string_view format_time(i16 minutesLeft, i16 secondsLeft, std::array<char, 32>& out,
                        string_view& secondsPart)
{
    const std::string minutes = svc::number_text(minutesLeft);
    char seconds[2];
    if (secondsLeft >= 0 && secondsLeft <= 9) {
        seconds[0] = '0';
        seconds[1] = static_cast<char>('0' + secondsLeft);
    } else {
        const std::string form = svc::number_text(secondsLeft);
        seconds[0] = form[form.size() - 2];
        seconds[1] = form[form.size() - 1];
    }
    if (seconds[0] == '6' && seconds[1] == '0') {
        seconds[0] = '0'; // a whole minute shows as 00
    }
    std::size_t n = 0;
    for (char c : minutes) {
        out[n++] = c;
    }
    out[n++] = ',';
    const std::size_t secondsAt = n;
    out[n++] = seconds[0];
    out[n++] = seconds[1];
    for (char c : string_view(" Min. ")) {
        out[n++] = c;
    }
    secondsPart = string_view(out.data() + secondsAt, 2);
    return {out.data(), n};
}

// A distance as the boxes print it: its number form and a space.
string_view distance_item(float metres, std::string& scratch)
{
    scratch = svc::number_text(metres);
    scratch += ' ';
    return scratch;
}

// The X-ray answer while the aid is off: "NO" over an empty gauge.
void xray_off(svc::Services& sv)
{
    sv.set_foreground(svc::kBrown);
    print_at(sv, 10, 7, {"NO"});
    sv.set_foreground(svc::kDarkGrey);
    print_at(sv, 12, 4, {kShadedBlocks});
}

// The X-ray answer while the aid is on and, whenever the aid uses up a unit, the gauge; the
// aid's end comes after it.
void xray_on(svc::Services& sv, game::GameState& st)
{
    sv.set_foreground(svc::kLightRed);
    print_at(sv, 10, 7, {"SI"});
    if (!game::CountXrayTick(st.player)) {
        return;
    }
    const game::XrayGauge gauge = game::xray_gauge(sv, st.player);
    sv.set_foreground(svc::kLightRed);
    print_at(sv, 12, 4,
             {kFullBlocks.substr(0, static_cast<std::size_t>(gauge.full)),
              kShadedBlocks.substr(0, static_cast<std::size_t>(gauge.used))});
    game::EndSpentXrayAid(sv, st);
}

// Level box (rows 7-9): the level number in white between the green frame's sides.
void draw_level_box(svc::Services& sv, i16 levelNumber)
{
    sv.set_foreground(svc::kLightGreen);
    border_at(sv, 7, 66, Edge::Top, 14);
    print_at(sv, 8, 66, {kSide, " Livello"}, true);
    sv.set_foreground(svc::kWhite);
    const std::string level = svc::number_text(levelNumber);
    sv.print_line({level, " "}, true);
    sv.set_foreground(svc::kLightGreen);
    print_at(sv, 8, 79, {kSide});
    border_at(sv, 9, 66, Edge::Bottom, 14);
}

// Time box (rows 10-14).
void draw_time_box(svc::Services& sv, string_view timeText)
{
    sv.set_foreground(svc::kYellow);
    box_head(sv, 10, 66, 14, "   Tempo:   ");
    print_at(sv, 13, 66, {kSide, timeText}, true);
    sv.tab_to(79);
    sv.print_line({kSide});
    border_at(sv, 14, 66, Edge::Bottom, 14);
}

// Save box (rows 18-23): "Ctrl+S" and "Salva Livello", grey while there is nothing to save.
void draw_save_box(svc::Services& sv, i16 canSave)
{
    sv.set_foreground(svc::kLightRed);
    border_at(sv, 18, 67, Edge::Top, 13);
    print_at(sv, 19, 67, {kSide, " <"});
    print_at(sv, 19, 74, {"+"});
    print_at(sv, 19, 76, {">= ", kSide});
    border_at(sv, 20, 67, Edge::Middle, 13);
    sides_at(sv, 21, 67, 79);
    sides_at(sv, 22, 67, 79);
    border_at(sv, 23, 67, Edge::Bottom, 13);
    sv.set_foreground(canSave != 0 ? svc::kYellow : svc::kDarkGrey);
    print_at(sv, 19, 70, {"Ctrl"});
    print_at(sv, 19, 75, {"S"});
    sv.set_foreground(canSave != 0 ? svc::kLightGreen : svc::kDarkGrey);
    print_at(sv, 21, 71, {"Salva"});
    print_at(sv, 22, 70, {"Livello"});
}

// Menu key box (rows 15-17): "<X=Menu>".
void draw_menu_box(svc::Services& sv)
{
    sv.set_foreground(svc::kLightGreen);
    border_at(sv, 15, 67, Edge::Top, 12);
    print_at(sv, 16, 67, {kSide, " <"});
    print_at(sv, 16, 71, {"=Menu> ", kSide});
    border_at(sv, 17, 67, Edge::Bottom, 12);
    sv.set_foreground(svc::kWhite);
    print_at(sv, 16, 70, {"X"});
}

// Door box (rows 2-6 on the right): the distance, or "-Aperta-" once the door is open.
void draw_door_box(svc::Services& sv, const game::PlayerState& pl, std::string& scratch)
{
    sv.set_foreground(svc::kLightRed);
    titled_box(sv, 2, 67, 12, pl.doorOpened == 0 ? " Porta a  " : "  Porta   ");
    sv.set_foreground(svc::kLightGreen);
    if (pl.doorOpened == 0) {
        print_at(sv, 5, 68, {distance_item(pl.doorDistance, scratch), "metri"});
    } else {
        print_at(sv, 5, 69, {"-Aperta-"});
    }
}

// A row of a box at column 2 that holds its value between stars: side and stars at the left,
// stars and side at the right edge of a box `width` wide.
void starred_row(svc::Services& sv, int row, int width, string_view stars)
{
    print_at(sv, row, 2, {kSide, " ", stars});
    print_at(sv, row, 2 + width - static_cast<int>(stars.size()) - 2, {stars, " ", kSide});
}

// X-ray box (rows 7-13); the answer and the gauge come with the aid's own step.
void draw_xray_box(svc::Services& sv)
{
    sv.set_foreground(svc::kYellow);
    box_head(sv, 7, 2, 12, " Raggi X: ");
    starred_row(sv, 10, 12, "**");
    border_at(sv, 11, 2, Edge::Middle, 12);
    sides_at(sv, 12, 2, 13);
    border_at(sv, 13, 2, Edge::Bottom, 12);
}

// Compass box (rows 14-18); the main flow prints the heading word into row 17.
void draw_compass_box(svc::Services& sv)
{
    sv.set_foreground(svc::kMagenta);
    box_head(sv, 14, 2, 13, " Direzione ");
    starred_row(sv, 17, 13, "*");
    border_at(sv, 18, 2, Edge::Bottom, 13);
}

// Key box (rows 19-23 on the left), framed in the compass box's colour still in force.
void draw_key_box(svc::Services& sv, const game::PlayerState& pl, std::string& scratch)
{
    titled_box(sv, 19, 2, 12, pl.keyTaken == 0 ? " Chiave a " : " -Chiave- ");
    if (pl.keyTaken == 0) {
        sv.set_foreground(svc::kLightGreen);
        print_at(sv, 22, 3, {distance_item(pl.keyDistance, scratch), "Metri"});
    } else {
        sv.set_foreground(svc::kLightCyan);
        print_at(sv, 22, 3, {" -- SI --"});
    }
}

// Everything the boxes show; the same values draw the same boxes.
struct BoxInputs {
    int levelNumber, canSave, doorOpened, keyTaken, minutesLeft, secondsLeft, xrayOn;
    float exitDistance, doorDistance, keyDistance;
};
static_assert(sizeof(BoxInputs) == 7 * sizeof(int) + 3 * sizeof(float), "no padding");

// The boxes, from the level box at the top right to the key box at the bottom left.
void draw_boxes(svc::Services& sv, const game::GameState& st, string_view timeText)
{
    const game::LevelState& lv = st.level;
    const game::PlayerState& pl = st.player;
    std::string scratch; // distances; short texts stay in the string's own storage
    draw_level_box(sv, lv.levelNumber);
    draw_time_box(sv, timeText);
    draw_save_box(sv, lv.canSave);
    draw_menu_box(sv);

    sv.set_foreground(svc::kLightRed);
    titled_box(sv, 2, 2, 12, " Uscita a ");
    sv.set_foreground(svc::kLightGreen);
    print_at(sv, 5, 3, {distance_item(pl.exitDistance, scratch), "metri"});

    // Level 10 has neither door nor key: grey dashed boxes.
    const bool lastLevel = lv.levelNumber > 9;
    if (lastLevel) {
        sv.set_foreground(svc::kDarkGrey);
        dashed_box(sv, 2, 67);
    } else {
        draw_door_box(sv, pl, scratch);
    }
    draw_xray_box(sv);
    draw_compass_box(sv);
    if (lastLevel) {
        sv.set_foreground(svc::kDarkGrey);
        dashed_box(sv, 19, 2);
    } else {
        draw_key_box(sv, pl, scratch);
    }
}

} // namespace

void DrawStatusPanel(svc::Services& sv, game::GameState& st)
{
    game::LevelState& lv = st.level;
    const game::PlayerState& pl = st.player;

    // 1. The level clock.
    game::CountClockFull(sv, st);

    // 2. The time text; the time is up once the minutes go below 0 on a whole minute.
    std::array<char, 32> timeBuffer{};
    string_view secondsPart;
    const string_view timeText =
        format_time(lv.minutesLeft, lv.secondsLeft, timeBuffer, secondsPart);
    if (lv.minutesLeft < 0 && secondsPart == "00") {
        st.time.minuteState = game::MinuteState::TimeUp;
    }

    // 3. The boxes and 4. the X-ray aid's answer, drawn again on every pass: skipped while
    // they would change nothing (the aid's steps are counted all the same).
    const BoxInputs in{lv.levelNumber,  lv.canSave,     pl.doorOpened, pl.keyTaken,
                       lv.minutesLeft,  lv.secondsLeft, pl.xrayOn,     pl.exitDistance,
                       pl.doorDistance, pl.keyDistance};
    if (!sv.repeat_unchanged(st.marks.panelBoxes, in)) {
        draw_boxes(sv, st, timeText);
        if (pl.xrayOn == 0) {
            xray_off(sv);
        }
        sv.repeat_drawn(st.marks.panelBoxes);
    }
    if (pl.xrayOn != 0) {
        xray_on(sv, st);
    }

    // 5. The seagulls.
    FlySeagulls(sv, st);
}

} // namespace screens
