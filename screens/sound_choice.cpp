// The start-up sound choice: the two boxes, the highlight, and "sound.cop" read and written back.
#include "screens/sound_choice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/print_at.h"
#include "services/common/number_text.h"
#include "services/common/strings.h"

namespace screens {

namespace {

using game::print_at;

const std::string kChoiceFile = "sound.cop";

// Entry texts by soundChoice; the list has room for a third that is never filled.
const std::array<std::string, 3> kEntries = {"PC Speaker.......", "Scheda Audio.....", ""};

constexpr int kEnter = 13;
constexpr int kEscape = 27;

// A box 21 wide at column 32: top border on `top`, sides on the five rows below, bottom after.
void draw_box(svc::Services& sv, int top)
{
    print_at(sv, top, 32,
             {svc::character_from_code(sv, 201) + svc::repeated_byte(sv, 19, 205) +
              svc::character_from_code(sv, 187)});
    for (int row = top + 1; row <= top + 5; ++row) {
        print_at(sv, row, 32, {svc::character_from_code(sv, 186)});
        print_at(sv, row, 52, {svc::character_from_code(sv, 186)});
    }
    print_at(sv, top + 6, 32,
             {svc::character_from_code(sv, 200) + svc::repeated_byte(sv, 19, 205) +
              svc::character_from_code(sv, 188)});
}

// The entry of `choice` at its row, plain (15 on 0) or highlighted (1 on 15).
void print_entry(svc::Services& sv, int choice, bool highlighted)
{
    if (highlighted) {
        sv.set_colours(svc::kBlue, svc::kWhite);
    } else {
        sv.set_colours(svc::kWhite, svc::kBlack);
    }
    print_at(sv, (choice + 4) * 2, 34, {kEntries[static_cast<std::size_t>(choice)]});
}

// The stored choice: the item's number rounded to an integer. Anything but 0 or 1 (a damaged
// or hand-edited file) counts as the PC speaker, so the highlight always lands on an entry.
int stored_choice(const std::string& item)
{
    const double value = std::nearbyint(svc::text_number(item));
    return value == 1 ? 1 : 0;
}

} // namespace

void ChooseSound(svc::Services& sv, game::i16& soundMode)
{
    sv.set_background(svc::kBlack);
    sv.clear_screen();

    sv.set_foreground(svc::kYellow);
    print_at(sv, 4, 32, {"- Scelta del suono -"});

    sv.set_foreground(svc::kWhite);
    draw_box(sv, 6);
    print_at(sv, 8, 34, {kEntries[0]});
    // The first drawing of the sound card entry has one dot less, as the game always showed it.
    print_at(sv, 10, 34, {"Scheda Audio...."});
    draw_box(sv, 16);

    sv.set_foreground(svc::kYellow);
    print_at(sv, 18, 34, {"<  o  >=seleziona"});
    print_at(sv, 20, 36, {"<  >=conferma"});
    sv.set_foreground(svc::kLightGreen);
    print_at(sv, 18, 35, {svc::character_from_code(sv, 24)});
    print_at(sv, 18, 39, {svc::character_from_code(sv, 25)});
    print_at(sv, 20, 37, {svc::character_from_code(sv, 17) + svc::character_from_code(sv, 217)});

    // A missing file shows the error dialog twice (open, then read); after two Yes answers the
    // item is empty and the menu starts on the PC speaker.
    sv.open_file(kChoiceFile, svc::FileMode::Input, 1);
    const std::string item = sv.read_item(1);
    sv.close_all_files();
    int soundChoice = stored_choice(item);
    print_entry(sv, soundChoice, true);

    std::string key;
    while (key != std::string(1, static_cast<char>(kEnter))) {
        key = sv.read_key();
        if (key.empty()) {
            sv.pause_ms(0.5); // rest between polls instead of spinning a core
            continue;
        }
        if (key == std::string(1, static_cast<char>(kEscape))) {
            sv.set_colours(svc::kLightGrey, svc::kBlack);
            sv.clear_screen();
            sv.end_program();
        }
        // Only the last character counts, so capital P and H act as the arrows.
        const char keyChar = key.back();
        if (keyChar == 'P' || keyChar == 'H') {
            print_entry(sv, soundChoice, false);
            // The highlight stops at either end; it does not wrap.
            soundChoice =
                keyChar == 'P' ? std::min(soundChoice + 1, 1) : std::max(soundChoice - 1, 0);
            print_entry(sv, soundChoice, true);
        }
    }

    // Written back on every confirmed start, even when unchanged.
    sv.open_file(kChoiceFile, svc::FileMode::Output, 1);
    sv.write_item(1, svc::number_text(soundChoice));
    sv.close_all_files();
    soundMode = static_cast<game::i16>(soundChoice);
}

} // namespace screens
