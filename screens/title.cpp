// The title screen: title word, instructions, key legend, picture menu and the opening sound.
#include "screens/title.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/print_at.h"
#include "game/core/sound_rule.h"
#include "services/strings.h"

namespace screens {

namespace {

using game::print_at;
using game::words;

using Buffer = std::vector<std::int16_t>;

// The row of the menu's arrow; its x is the choice itself (game::kTitlePlay and the others).
constexpr int kArrowY = 340;
constexpr int kCopy = 1;

std::string chr(int code)
{
    return svc::character_from_code(code);
}

// A border row 80 wide: left corner, 78 lines, right corner, then the line end.
void print_border(svc::Services& sv, int left, int right)
{
    sv.print_line({chr(left) + svc::repeated_byte(78, 205) + chr(right)});
}

// Frame, instructions and key legend (the text part of the screen).
void draw_texts(svc::Services& sv)
{
    sv.set_foreground(10);
    print_border(sv, 201, 187);
    for (int side = 1; side <= 23; ++side) {
        sv.print_line({chr(186)}, true);
        sv.tab_to(80);
        sv.print_line({chr(186)});
        if (side == 6 || side == 14) {
            print_border(sv, 204, 185);
        }
    }
    print_border(sv, 200, 188);

    sv.set_foreground(15);
    print_at(sv, 9, 31, {"I S T R U Z I O N I"});

    sv.set_foreground(14);
    print_at(sv, 10, 5,
             {"Dovete riuscire a superare i dieci muvesecki entro il tempo stabilito per"});
    print_at(sv, 11, 5,
             {"ogni muvesecky. Per  lo  spostamento  all'interno  dei muvesecki  bisogna"});
    print_at(sv, 12, 5, {"utilizzare le frecce:"});
    print_at(sv, 13, 5, {"< >=movimento in avanti -< >=movimento all'indietro"});
    print_at(sv, 14, 5,
             {"< >=rotazione di 90" + chr(248) + " a destra -< >=rotazione di 90" + chr(248) +
              " a sinistra"});
    print_at(sv, 15, 5,
             {"Se trovate appeso al muro un orologio andateci incontro, guadagnerete due"});
    print_at(sv, 16, 5, {"minuti di tempo. Il muro esterno del muvesecky e colorato a righe."});

    sv.set_foreground(15);
    print_at(sv, 13, 6, {chr(24)});
    print_at(sv, 13, 31, {chr(25)});
    print_at(sv, 14, 6, {chr(26)});
    print_at(sv, 14, 37, {chr(27)});

    sv.set_foreground(14);
    print_at(sv, 3, 70, {"Ver. 3.0"});

    sv.set_foreground(10);
    print_at(sv, 18, 3, {"< > < >= Seleziona"});
    print_at(sv, 18, 32, {"<  >=Scelta Suono"});
    print_at(sv, 18, 62, {"<      >=Conferma"});
    sv.set_foreground(14);
    print_at(sv, 18, 4, {chr(27)});
    print_at(sv, 18, 8, {chr(26)});
    print_at(sv, 18, 33, {chr(17) + chr(217)});
    print_at(sv, 18, 63, {"Spazio"});
}

// The yes or no picture beside the loudspeaker, after silentMode.
void show_sound_state(svc::Services& sv, game::i16 silentMode, Buffer& yes, Buffer& no)
{
    sv.put_block(370, 344, silentMode != 0 ? words(no) : words(yes), kCopy);
}

} // namespace

void ShowTitleScreen(svc::Services& sv, game::i16 faceColour, game::i16 skyColour,
                     game::i16& silentMode, game::i16 soundMode, game::i16& introPlayed,
                     game::i16& titleChoice)
{
    (void)faceColour; // handed over by the main flow, not used by the title
    (void)skyColour;

    Buffer letter1(2500), letter2(2500), letter3(2500), letter4(2500), letter5(2500);
    Buffer letter7(2500), letter8(2500), letter9(2500);
    Buffer tail1(1500), tail2(1500);
    Buffer play(3500), leave(3500), loudspeaker(4000);
    Buffer frameTile(600), arrow(400), blankBlock(400), yes(400), no(400);

    sv.load_block_file("mm.grh", words(letter1));
    sv.load_block_file("uu.grh", words(letter2));
    sv.load_block_file("vv.grh", words(letter3));
    sv.load_block_file("ee.grh", words(letter4));
    sv.load_block_file("ss.grh", words(letter5));
    sv.load_block_file("cc.grh", words(letter7));
    sv.load_block_file("kk.grh", words(letter8));
    sv.load_block_file("yy.grh", words(letter9));
    sv.load_block_file("f3.grh", words(tail1));
    sv.load_block_file("dd.grh", words(tail2));
    sv.load_block_file("gioc.grh", words(play));
    sv.load_block_file("fine.grh", words(leave));
    sv.load_block_file("altop.grh", words(loudspeaker));
    sv.load_block_file("corni.grh", words(frameTile));
    sv.load_block_file("frec.grh", words(arrow));
    sv.load_block_file("si.grh", words(yes));
    sv.load_block_file("no.grh", words(no));

    sv.clear_screen();
    sv.set_screen_mode(svc::kMode640x480);
    // Taken from the still empty screen: it erases the arrow.
    sv.get_block(1, 1, 30, 25, words(blankBlock));

    draw_texts(sv);

    for (int x = 11; x <= 587; x += 48) {
        sv.put_block(x, 291, words(frameTile), kCopy);
        sv.put_block(x, 383, words(frameTile), kCopy);
    }
    for (const int y : {322, 353}) {
        sv.put_block(11, y, words(frameTile), kCopy);
        sv.put_block(587, y, words(frameTile), kCopy);
    }

    // M U V E S E C K Y: the E picture serves letters 4 and 6.
    Buffer* const titleWord[] = {&letter1, &letter2, &letter3, &letter4, &letter5,
                                 &letter4, &letter7, &letter8, &letter9};
    for (int i = 0; i < 9; ++i) {
        sv.put_block(20 + 60 * i, 23, words(*titleWord[i]), kCopy);
    }
    sv.put_block(547, 58, words(tail1), kCopy);
    sv.put_block(587, 58, words(tail2), kCopy);

    sv.put_block(232, 328, words(loudspeaker), kCopy);
    sv.put_block(453, 325, words(leave), kCopy);
    sv.put_block(86, 320, words(play), kCopy);

    titleChoice = game::kTitlePlay;
    sv.put_block(titleChoice, kArrowY, words(arrow), kCopy);
    show_sound_state(sv, silentMode, yes, no);

    sv.set_foreground(15);
    print_at(sv, 28, 13, {"Muvesecky - dieci labirinti da percorrere in prima persona"});

    if (game::pc_speaker(silentMode, soundMode) && introPlayed == 0) {
        for (int tone = 0; tone < 40; ++tone) {
            const double frequencyHz = std::floor(sv.random_single() * 1000.0) + 500.0;
            const double durationTicks = sv.random_single();
            sv.sound_tone(frequencyHz, durationTicks);
        }
    }
    if (game::sound_card(silentMode, soundMode) && introPlayed == 0) {
        sv.play_sound_file("Presenta.ogg", true);
    }
    introPlayed = 1;

    for (;;) {
        const std::string key = sv.read_key();
        if (key.empty()) {
            sv.pause_ms(0.5); // rest between polls instead of spinning a core
            continue;
        }
        // Only the last character counts: an arrow and the capital letter of its scan code
        // act alike.
        const char keyChar = key.back();
        if (keyChar == 'M') {
            sv.put_block(titleChoice - 2, kArrowY, words(blankBlock), kCopy);
            if (titleChoice == game::kTitleLeave) {
                titleChoice = -96;
            }
            if (titleChoice == game::kTitleSound) {
                titleChoice = 272;
            }
            titleChoice = static_cast<game::i16>(titleChoice + 150);
            sv.put_block(titleChoice, kArrowY, words(arrow), kCopy);
        } else if (keyChar == 'K') {
            sv.put_block(titleChoice - 2, kArrowY, words(blankBlock), kCopy);
            if (titleChoice == game::kTitlePlay) {
                titleChoice = game::kTitleLeave;
            } else if (titleChoice == game::kTitleSound) {
                titleChoice = game::kTitlePlay;
            } else if (titleChoice == game::kTitleLeave) {
                titleChoice = game::kTitleSound;
            }
            sv.put_block(titleChoice, kArrowY, words(arrow), kCopy);
        } else if (keyChar == '\r') {
            if (titleChoice == game::kTitleSound) {
                silentMode = static_cast<game::i16>(silentMode + 1);
                if (silentMode >= 2) {
                    silentMode = 0;
                }
                show_sound_state(sv, silentMode, yes, no);
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

} // namespace screens
