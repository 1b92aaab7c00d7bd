// The title screen: title word, instructions, key legend, picture menu and the opening sound.
#include "screens/title.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/print_at.h"
#include "core/sound_rule.h"
#include "data/version.h"
#include "services/common/strings.h"

namespace screens {

namespace {

using game::print_at;
using game::words;

using Buffer = std::vector<std::int16_t>;

// The row of the menu's arrow; its x is the choice itself (game::kTitlePlay and the others).
constexpr int kArrowY = 340;

std::string chr(svc::ErrorSink& errors, int code)
{
    return svc::character_from_code(errors, code);
}

// A border row 80 wide: left corner, 78 lines, right corner, then the line end.
void print_border(svc::Services& sv, int left, int right)
{
    sv.print_line({chr(sv, left) + svc::repeated_byte(sv, 78, 205) + chr(sv, right)});
}

// Frame, instructions and key legend (the text part of the screen).
void draw_texts(svc::Services& sv)
{
    sv.set_foreground(svc::kLightGreen);
    print_border(sv, 201, 187);
    for (int side = 1; side <= 23; ++side) {
        sv.print_line({chr(sv, 186)}, true);
        sv.tab_to(80);
        sv.print_line({chr(sv, 186)});
        if (side == 6 || side == 14) {
            print_border(sv, 204, 185);
        }
    }
    print_border(sv, 200, 188);

    sv.set_foreground(svc::kWhite);
    print_at(sv, 9, 31, {"I S T R U Z I O N I"});

    sv.set_foreground(svc::kYellow);
    print_at(sv, 10, 5,
             {"Dovete riuscire a superare i dieci muvesecki entro il tempo stabilito per"});
    print_at(sv, 11, 5,
             {"ogni muvesecky. Per  lo  spostamento  all'interno  dei muvesecki  bisogna"});
    print_at(sv, 12, 5, {"utilizzare le frecce:"});
    print_at(sv, 13, 5, {"< >=movimento in avanti -< >=movimento all'indietro"});
    print_at(sv, 14, 5,
             {"< >=rotazione di 90" + chr(sv, 248) + " a destra -< >=rotazione di 90" +
              chr(sv, 248) + " a sinistra"});
    print_at(sv, 15, 5,
             {"Se trovate appeso al muro un orologio andateci incontro, guadagnerete due"});
    print_at(sv, 16, 5, {"minuti di tempo. Il muro esterno del muvesecky e colorato a righe."});

    sv.set_foreground(svc::kWhite);
    print_at(sv, 13, 6, {chr(sv, 24)});
    print_at(sv, 13, 31, {chr(sv, 25)});
    print_at(sv, 14, 6, {chr(sv, 26)});
    print_at(sv, 14, 37, {chr(sv, 27)});

    sv.set_foreground(svc::kYellow);
    print_at(sv, 3, 70, {std::string("Ver. ") + data::kGameVersion});

    sv.set_foreground(svc::kLightGreen);
    print_at(sv, 18, 3, {"< > < >= Seleziona"});
    print_at(sv, 18, 32, {"<  >=Scelta Suono"});
    print_at(sv, 18, 62, {"<      >=Conferma"});
    sv.set_foreground(svc::kYellow);
    print_at(sv, 18, 4, {chr(sv, 27)});
    print_at(sv, 18, 8, {chr(sv, 26)});
    print_at(sv, 18, 33, {chr(sv, 17) + chr(sv, 217)});
    print_at(sv, 18, 63, {"Spazio"});
}

// The title's pictures, local to one call, in buffers of fixed capacity (words).
struct TitlePictures {
    Buffer letter1 = Buffer(2500), letter2 = Buffer(2500), letter3 = Buffer(2500);
    Buffer letter4 = Buffer(2500), letter5 = Buffer(2500), letter7 = Buffer(2500);
    Buffer letter8 = Buffer(2500), letter9 = Buffer(2500);
    Buffer tail1 = Buffer(1500), tail2 = Buffer(1500);
    Buffer play = Buffer(3500), leave = Buffer(3500), loudspeaker = Buffer(4000);
    Buffer frameTile = Buffer(600), arrow = Buffer(400), yes = Buffer(400), no = Buffer(400);
    Buffer blankBlock = Buffer(400); // taken from the still empty screen: it erases the arrow
};

// The picture files in loading order (the E picture once: it serves letters 4 and 6).
struct TitlePicture {
    const char* file;
    Buffer TitlePictures::*buffer;
};
// clang-format off
constexpr TitlePicture kTitlePictureFiles[] = {
    {"mm.grh",    &TitlePictures::letter1},     {"uu.grh",    &TitlePictures::letter2},
    {"vv.grh",    &TitlePictures::letter3},     {"ee.grh",    &TitlePictures::letter4},
    {"ss.grh",    &TitlePictures::letter5},     {"cc.grh",    &TitlePictures::letter7},
    {"kk.grh",    &TitlePictures::letter8},     {"yy.grh",    &TitlePictures::letter9},
    {"f3.grh",    &TitlePictures::tail1},       {"dd.grh",    &TitlePictures::tail2},
    {"gioc.grh",  &TitlePictures::play},        {"fine.grh",  &TitlePictures::leave},
    {"altop.grh", &TitlePictures::loudspeaker}, {"corni.grh", &TitlePictures::frameTile},
    {"frec.grh",  &TitlePictures::arrow},       {"si.grh",    &TitlePictures::yes},
    {"no.grh",    &TitlePictures::no},
};
// clang-format on

// The menu's frame, the title word with its two tail pictures, and the three menu pictures.
void draw_pictures(svc::Services& sv, TitlePictures& pics)
{
    for (int x = 11; x <= 587; x += 48) {
        sv.put_block(x, 291, words(pics.frameTile), svc::kPutCopy);
        sv.put_block(x, 383, words(pics.frameTile), svc::kPutCopy);
    }
    for (const int y : {322, 353}) {
        sv.put_block(11, y, words(pics.frameTile), svc::kPutCopy);
        sv.put_block(587, y, words(pics.frameTile), svc::kPutCopy);
    }

    // M U V E S E C K Y: the E picture serves letters 4 and 6.
    Buffer* const titleWord[] = {&pics.letter1, &pics.letter2, &pics.letter3,
                                 &pics.letter4, &pics.letter5, &pics.letter4,
                                 &pics.letter7, &pics.letter8, &pics.letter9};
    for (int i = 0; i < 9; ++i) {
        sv.put_block(20 + 60 * i, 23, words(*titleWord[i]), svc::kPutCopy);
    }
    sv.put_block(547, 58, words(pics.tail1), svc::kPutCopy);
    sv.put_block(587, 58, words(pics.tail2), svc::kPutCopy);

    sv.put_block(232, 328, words(pics.loudspeaker), svc::kPutCopy);
    sv.put_block(453, 325, words(pics.leave), svc::kPutCopy);
    sv.put_block(86, 320, words(pics.play), svc::kPutCopy);
}

// The yes or no picture beside the loudspeaker, after silentMode.
void show_sound_state(svc::Services& sv, game::i16 silentMode, TitlePictures& pics)
{
    sv.put_block(370, 344, silentMode != 0 ? words(pics.no) : words(pics.yes), svc::kPutCopy);
}

// The opening sound, played once a run (introPlayed): forty random tones on the PC speaker, or
// the opening music on the sound card, which plays on while the menu runs; nothing in silent
// mode.
void play_opening_sound(svc::Services& sv, const game::SoundState& snd)
{
    if (game::pc_speaker(snd)) {
        for (int tone = 0; tone < 40; ++tone) {
            const double frequencyHz = std::floor(sv.random_single() * 1000.0) + 500.0;
            const double durationTicks = sv.random_single();
            sv.sound_tone(frequencyHz, durationTicks);
        }
    }
    if (game::sound_card(snd)) {
        sv.play_sound_file("Presenta.ogg", true);
    }
}

// Moves the arrow from titleChoice one choice right (54 -> 204 -> 422 -> 54) or left.
void move_arrow(svc::Services& sv, TitlePictures& pics, game::i16& titleChoice, bool right)
{
    sv.put_block(titleChoice - 2, kArrowY, words(pics.blankBlock), svc::kPutCopy);
    if (right) {
        if (titleChoice == game::kTitleLeave) {
            titleChoice = -96;
        }
        if (titleChoice == game::kTitleSound) {
            titleChoice = 272;
        }
        titleChoice = static_cast<game::i16>(titleChoice + 150);
    } else if (titleChoice == game::kTitlePlay) {
        titleChoice = game::kTitleLeave;
    } else if (titleChoice == game::kTitleSound) {
        titleChoice = game::kTitlePlay;
    } else if (titleChoice == game::kTitleLeave) {
        titleChoice = game::kTitleSound;
    }
    sv.put_block(titleChoice, kArrowY, words(pics.arrow), svc::kPutCopy);
}

// The menu loop: arrows move, Enter at the loudspeaker switches the sound, Space confirms play
// or leave.
void run_menu(svc::Services& sv, TitlePictures& pics, game::i16& silentMode, game::i16& titleChoice)
{
    for (;;) {
        const std::string key = sv.read_key();
        if (key.empty()) {
            sv.pause_ms(0.5); // rest between polls instead of spinning a core
            continue;
        }
        // Only the last character counts: an arrow and the capital letter of its scan code
        // act alike.
        const char keyChar = key.back();
        if (keyChar == 'M' || keyChar == 'K') {
            move_arrow(sv, pics, titleChoice, keyChar == 'M');
        } else if (keyChar == '\r') {
            if (titleChoice == game::kTitleSound) {
                silentMode = static_cast<game::i16>(silentMode + 1);
                if (silentMode >= 2) {
                    silentMode = 0;
                }
                show_sound_state(sv, silentMode, pics);
                // On purpose played whatever the sound settings: the click confirms the toggle.
                sv.play_macro("L30O4a");
            }
        } else if (keyChar == ' ') {
            if (titleChoice == game::kTitlePlay || titleChoice == game::kTitleLeave) {
                return;
            }
        }
    }
}

} // namespace

void ShowTitleScreen(svc::Services& sv, game::SoundState& snd)
{
    TitlePictures pics;

    // A picture that cannot be loaded raises the error dialog, which names this file's line
    // of the load to the player: tests/golden/error_dialogs.trace pins it, so a line added or
    // removed above this loop moves that trace. Keep the count of lines above it as it is, or
    // record the trace again on purpose.
    for (const TitlePicture& picture : kTitlePictureFiles) {
        sv.load_block_file(picture.file, words(pics.*picture.buffer));
    }

    sv.clear_screen();
    sv.set_screen_mode(svc::kMode640x480);
    sv.get_block(1, 1, 30, 25, words(pics.blankBlock));

    draw_texts(sv);
    draw_pictures(sv, pics);

    snd.titleChoice = game::kTitlePlay;
    sv.put_block(snd.titleChoice, kArrowY, words(pics.arrow), svc::kPutCopy);
    show_sound_state(sv, snd.silentMode, pics);

    sv.set_foreground(svc::kWhite);
    print_at(sv, 28, 13, {"Muvesecky - dieci labirinti da percorrere in prima persona"});

    if (snd.introPlayed == 0) {
        play_opening_sound(sv, snd);
    }
    snd.introPlayed = 1;

    run_menu(sv, pics, snd.silentMode, snd.titleChoice);
}

} // namespace screens
