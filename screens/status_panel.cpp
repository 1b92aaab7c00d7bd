// The status panel: level, time, save and menu hints, distances, X-ray gauge and compass box.
#include "screens/status_panel.h"

#include <array>
#include <string_view>

#include "game/core/level_clock.h"
#include "game/core/print_at.h"
#include "game/core/sound_rule.h"
#include "services/number_text.h"
#include "services/strings.h"

namespace screens {
namespace {

using game::i16;
using game::print_at;
using std::string_view;

constexpr string_view kSide = "\xBA";

enum Edge { kTop = 0, kMiddle = 1, kBottom = 2 };

// The frame borders of every width the panel uses, made once: corner, w - 2 bytes 205, corner.
class BorderTable {
  public:
    static constexpr int kMaxWidth = 14;

    BorderTable()
    {
        constexpr unsigned char corners[3][2] = {{201, 187}, {204, 185}, {200, 188}};
        for (int e = 0; e < 3; ++e) {
            for (int w = 2; w <= kMaxWidth; ++w) {
                char* t = text_[e][w].data();
                t[0] = static_cast<char>(corners[e][0]);
                for (int i = 1; i < w - 1; ++i) {
                    t[i] = '\xCD';
                }
                t[w - 1] = static_cast<char>(corners[e][1]);
            }
        }
    }
    string_view get(Edge e, int width) const
    {
        return {text_[e][width].data(), static_cast<std::size_t>(width)};
    }

  private:
    std::array<std::array<std::array<char, kMaxWidth>, kMaxWidth + 1>, 3> text_{};
};

string_view border(Edge e, int width)
{
    static const BorderTable table;
    return table.get(e, width);
}

// Eight full blocks and eight shaded ones, cut to length for the gauge.
constexpr string_view kFullBlocks = "\xDB\xDB\xDB\xDB\xDB\xDB\xDB\xDB";
constexpr string_view kShadedBlocks = "\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1";

// A frame's top, middle or bottom border at a place.
void border_at(svc::Services& sv, int row, int col, Edge e, int width)
{
    print_at(sv, row, col, {border(e, width)});
}

// A side at each of two columns of a row.
void sides_at(svc::Services& sv, int row, int left, int right)
{
    print_at(sv, row, left, {kSide});
    print_at(sv, row, right, {kSide});
}

// A box of five rows: top, title row, middle, value row with its two sides, bottom.
void titled_box(svc::Services& sv, int top, int col, int width, string_view title)
{
    border_at(sv, top, col, kTop, width);
    print_at(sv, top + 1, col, {kSide, title, kSide});
    border_at(sv, top + 2, col, kMiddle, width);
    sides_at(sv, top + 3, col, col + width - 1);
    border_at(sv, top + 4, col, kBottom, width);
}

// The grey box of level 10, which has no door and no key.
void dashed_box(svc::Services& sv, int top, int col)
{
    constexpr string_view dashes = " -------- ";
    border_at(sv, top, col, kTop, 12);
    print_at(sv, top + 1, col, {kSide, dashes, kSide});
    border_at(sv, top + 2, col, kMiddle, 12);
    print_at(sv, top + 3, col, {kSide, dashes, kSide});
    border_at(sv, top + 4, col, kBottom, 12);
}

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

// The end of the X-ray aid: its sound, and the seagulls hidden for this call.
void end_xray_aid(svc::Services& sv, game::GameState& st)
{
    game::PlayerState& pl = st.player;
    pl.xrayUsed = 0;
    pl.xrayOn = 0;
    pl.xrayTicks = 0;
    if (game::sound_card(st.sound)) {
        sv.play_sound_file("Firagx1.ogg", true);
    } else if (game::pc_speaker(st.sound)) {
        for (int f = 4000; f >= 500; f -= 500) {
            sv.sound_tone(f, 0.8);
        }
    }
    st.scan.facingDepth = 140;
}

// The X-ray answer and, on every 64th call while the aid is on, the gauge.
void xray_gauge(svc::Services& sv, game::GameState& st)
{
    game::PlayerState& pl = st.player;
    if (pl.xrayOn == 0) {
        sv.set_foreground(6);
        print_at(sv, 10, 7, {"NO"});
        sv.set_foreground(8);
        print_at(sv, 12, 4, {kShadedBlocks});
        return;
    }
    sv.set_foreground(12);
    print_at(sv, 10, 7, {"SI"});
    ++pl.xrayTicks;
    if (pl.xrayTicks % 64 != 0) {
        return;
    }
    ++pl.xrayUsed;
    // Both rounded half to even, so the two always make eight blocks.
    const int full = svc::round_to_int16((400.0 - pl.xrayUsed) / 50.0);
    const int empty = svc::round_to_int16(pl.xrayUsed / 50.0);
    sv.set_foreground(12);
    print_at(sv, 12, 4,
             {kFullBlocks.substr(0, static_cast<std::size_t>(full < 0 ? 0 : full)),
              kShadedBlocks.substr(0, static_cast<std::size_t>(empty < 0 ? 0 : empty))});
    if (pl.xrayUsed > 400) {
        end_xray_aid(sv, st);
    }
}

} // namespace

void DrawStatusPanel(svc::Services& sv, game::GameState& st)
{
    game::LevelState& lv = st.level;
    game::PlayerState& pl = st.player;
    std::string scratch; // distances; short texts stay in the string's own storage

    // 1. The level clock.
    game::CountClockFull(sv, st);

    // 2. The time text; the time is up once the minutes go below 0 on a whole minute.
    std::array<char, 32> timeBuffer{};
    string_view secondsPart;
    const string_view timeText =
        format_time(lv.minutesLeft, lv.secondsLeft, timeBuffer, secondsPart);

    // 3. The boxes.
    sv.set_foreground(10);
    border_at(sv, 7, 66, kTop, 14);
    print_at(sv, 8, 66, {kSide, " Livello"}, true);
    sv.set_foreground(15);
    const std::string level = svc::number_text(lv.levelNumber);
    sv.print_line({level, " "}, true);
    sv.set_foreground(10);
    print_at(sv, 8, 79, {kSide});
    border_at(sv, 9, 66, kBottom, 14);

    sv.set_foreground(14);
    border_at(sv, 10, 66, kTop, 14);
    print_at(sv, 11, 66, {kSide, "   Tempo:   ", kSide});
    border_at(sv, 12, 66, kMiddle, 14);
    print_at(sv, 13, 66, {kSide, timeText}, true);
    sv.tab_to(79);
    sv.print_line({kSide});
    border_at(sv, 14, 66, kBottom, 14);
    if (lv.minutesLeft < 0 && secondsPart == "00") {
        st.time.minuteState = game::MinuteState::TimeUp;
    }

    sv.set_foreground(12);
    border_at(sv, 18, 67, kTop, 13);
    print_at(sv, 19, 67, {kSide, " <"});
    print_at(sv, 19, 74, {"+"});
    print_at(sv, 19, 76, {">= ", kSide});
    border_at(sv, 20, 67, kMiddle, 13);
    sides_at(sv, 21, 67, 79);
    sides_at(sv, 22, 67, 79);
    border_at(sv, 23, 67, kBottom, 13);
    // The save hint is grey while there is nothing to save.
    sv.set_foreground(lv.canSave != 0 ? 14 : 8);
    print_at(sv, 19, 70, {"Ctrl"});
    print_at(sv, 19, 75, {"S"});
    sv.set_foreground(lv.canSave != 0 ? 10 : 8);
    print_at(sv, 21, 71, {"Salva"});
    print_at(sv, 22, 70, {"Livello"});

    sv.set_foreground(10);
    border_at(sv, 15, 67, kTop, 12);
    print_at(sv, 16, 67, {kSide, " <"});
    print_at(sv, 16, 71, {"=Menu> ", kSide});
    border_at(sv, 17, 67, kBottom, 12);
    sv.set_foreground(15);
    print_at(sv, 16, 70, {"X"});

    sv.set_foreground(12);
    titled_box(sv, 2, 2, 12, " Uscita a ");
    sv.set_foreground(10);
    print_at(sv, 5, 3, {distance_item(pl.exitDistance, scratch), "metri"});

    const bool lastLevel = lv.levelNumber > 9;
    if (lastLevel) {
        sv.set_foreground(8);
        dashed_box(sv, 2, 67);
    } else {
        sv.set_foreground(12);
        titled_box(sv, 2, 67, 12, pl.doorOpened == 0 ? " Porta a  " : "  Porta   ");
        sv.set_foreground(10);
        if (pl.doorOpened == 0) {
            print_at(sv, 5, 68, {distance_item(pl.doorDistance, scratch), "metri"});
        } else {
            print_at(sv, 5, 69, {"-Aperta-"});
        }
    }

    sv.set_foreground(14);
    border_at(sv, 7, 2, kTop, 12);
    print_at(sv, 8, 2, {kSide, " Raggi X: ", kSide});
    border_at(sv, 9, 2, kMiddle, 12);
    print_at(sv, 10, 2, {kSide, " **"});
    print_at(sv, 10, 10, {"** ", kSide});
    border_at(sv, 11, 2, kMiddle, 12);
    sides_at(sv, 12, 2, 13);
    border_at(sv, 13, 2, kBottom, 12);

    sv.set_foreground(5);
    border_at(sv, 14, 2, kTop, 13);
    print_at(sv, 15, 2, {kSide, " Direzione ", kSide});
    border_at(sv, 16, 2, kMiddle, 13);
    print_at(sv, 17, 2, {kSide, " *"});
    print_at(sv, 17, 12, {"* ", kSide});
    border_at(sv, 18, 2, kBottom, 13);

    if (lastLevel) {
        sv.set_foreground(8);
        dashed_box(sv, 19, 2);
    } else {
        // The key box keeps the compass box's colour.
        titled_box(sv, 19, 2, 12, pl.keyTaken == 0 ? " Chiave a " : " -Chiave- ");
        if (pl.keyTaken == 0) {
            sv.set_foreground(10);
            print_at(sv, 22, 3, {distance_item(pl.keyDistance, scratch), "Metri"});
        } else {
            sv.set_foreground(11);
            print_at(sv, 22, 3, {" -- SI --"});
        }
    }

    // 4. The X-ray aid.
    xray_gauge(sv, st);

    // 5. The seagulls.
    FlySeagulls(sv, st);
}

} // namespace screens
