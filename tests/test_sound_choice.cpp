// The start-up sound choice: its screen, the highlight, the keys and "sound.cop".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "screens/sound_choice.h"
#include "services/window_loop.h"
#include "tests/screen_reading.h"
#include "tests/support/harness.h"

namespace {

using screen_reading::cell_attribute;
using screen_reading::cells_text;
using testing_support::Harness;
using testing_support::read_file;
using testing_support::TempDir;
using testing_support::write_file;

constexpr int kHighlight = 0x71; // blue on white (15 is white in text mode's 0..7 backgrounds)
constexpr int kPlain = 0x0F;

std::string stored(char digit)
{
    return std::string("\x22\x20") + digit + "\x22\x0D\x0A";
}

// One start of the game up to the end of the sound choice, in its own folder.
struct ChoiceRun {
    TempDir dir;
    Harness h;
    game::i16 soundMode = -1;

    // A menu that never returns is ended by closing the window after limitMs.
    int run(double limitMs = 60000)
    {
        h.platform.closeAfterMs = h.platform.ticks_ms() + limitMs;
        return h.run([&] { screens::ChooseSound(h.sv(), soundMode); });
    }
    const svc::ScreenImage& screen() { return h.screen(); }
};

TEST(SoundChoice, DrawsBothBoxesWithTheShortFirstSoundCardEntry)
{
    ChoiceRun r;
    write_file("sound.cop", stored('0'));
    r.h.platform.press_key(svc::Key::Enter);
    ASSERT_EQ(r.run(), -1);
    const svc::ScreenImage& s = r.screen();

    EXPECT_EQ(cells_text(s, 4, 32, 20), "- Scelta del suono -");
    EXPECT_EQ(cell_attribute(s, 4, 32), 0x0E);
    const std::string top = "\xC9" + std::string(19, '\xCD') + "\xBB";
    const std::string side = "\xBA" + std::string(19, ' ') + "\xBA";
    for (const int boxTop : {6, 16}) {
        EXPECT_EQ(cells_text(s, boxTop, 31, 23), " " + top + " ") << boxTop;
        EXPECT_EQ(cells_text(s, boxTop + 1, 32, 21), side) << boxTop;
        EXPECT_EQ(cells_text(s, boxTop + 5, 32, 21), side) << boxTop;
        EXPECT_EQ(cells_text(s, boxTop + 6, 32, 21), "\xC8" + std::string(19, '\xCD') + "\xBC");
    }
    EXPECT_EQ(cells_text(s, 8, 34, 17), "PC Speaker.......");
    EXPECT_EQ(cell_attribute(s, 8, 50), kHighlight);
    // Never moved onto, the sound card keeps its first drawing with four dots.
    EXPECT_EQ(cells_text(s, 10, 34, 17), "Scheda Audio.... ");
    EXPECT_EQ(cell_attribute(s, 10, 34), kPlain);

    EXPECT_EQ(cells_text(s, 18, 34, 17), "<\x18 o \x19>=seleziona");
    EXPECT_EQ(cells_text(s, 20, 36, 13), "<\x11\xD9>=conferma");
    EXPECT_EQ(cell_attribute(s, 18, 34), 0x0E);
    EXPECT_EQ(cell_attribute(s, 18, 39), 0x0A); // the keys in green
    EXPECT_EQ(cell_attribute(s, 20, 38), 0x0A);
    EXPECT_EQ(r.soundMode, 0);
}

TEST(SoundChoice, StoredSoundCardStartsOnRowTenAndIsWrittenBackUnchanged)
{
    ChoiceRun r;
    write_file("sound.cop", stored('1'));
    r.h.platform.press_key(svc::Key::Enter);
    ASSERT_EQ(r.run(), -1);
    EXPECT_EQ(cells_text(r.screen(), 10, 34, 17), "Scheda Audio.....");
    EXPECT_EQ(cell_attribute(r.screen(), 10, 34), kHighlight);
    EXPECT_EQ(cell_attribute(r.screen(), 8, 34), kPlain);
    EXPECT_EQ(r.soundMode, 1);
    EXPECT_EQ(read_file("sound.cop"), stored('1'));
    EXPECT_FALSE(std::filesystem::exists(".sound.cop.tmp"));
}

// Keys in the menu: where the highlight ends, what is stored and handed back.
struct KeyCase {
    const char* name;
    const char* file;
    std::vector<svc::Key> keys;
    const char* typed; // typed after the keys
    int expected;
};

TEST(SoundChoice, HighlightMovesWithArrowsAndCapitalLettersButDoesNotWrap)
{
    using K = svc::Key;
    const std::vector<KeyCase> cases = {
        {"down from the sound card stays", " 1", {K::Down}, "", 1},
        {"up from the PC speaker stays", " 0", {K::Up}, "", 0},
        {"down", " 0", {K::Down}, "", 1},
        {"up", " 1", {K::Up}, "", 0},
        {"down twice then up", " 0", {K::Down, K::Down, K::Up}, "", 0},
        {"capital P is down", " 0", {}, "P", 1},
        {"capital H is up", " 1", {}, "H", 0},
        {"small p does nothing", " 0", {}, "p", 0},
        {"small h does nothing", " 1", {}, "h", 1},
        {"other keys do nothing", " 1", {K::Left, K::Space}, "x", 1},
        {"stored values round", " .6", {}, "", 1},
        {"an unknown value counts as the PC speaker", " 7", {}, "", 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ChoiceRun r;
        write_file("sound.cop", std::string("\"") + c.file + "\"\r\n");
        for (const svc::Key k : c.keys) {
            r.h.platform.press_key(k);
        }
        r.h.platform.type_text(c.typed);
        r.h.platform.press_key(K::Enter);
        ASSERT_EQ(r.run(), -1);
        EXPECT_EQ(r.soundMode, c.expected);
        EXPECT_EQ(read_file("sound.cop"), stored(static_cast<char>('0' + c.expected)));
        const int onRow = c.expected == 0 ? 8 : 10;
        const int offRow = c.expected == 0 ? 10 : 8;
        EXPECT_EQ(cell_attribute(r.screen(), onRow, 34), kHighlight);
        EXPECT_EQ(cell_attribute(r.screen(), offRow, 34), kPlain);
    }
}

TEST(SoundChoice, EscapeClearsInGreyOnBlackAndEndsWithoutWriting)
{
    ChoiceRun r;
    const std::string unusual = "\"1\"\r\n"; // rewriting it would add the space
    write_file("sound.cop", unusual);
    r.h.platform.press_key(svc::Key::Up);
    r.h.platform.press_key(svc::Key::Escape);
    r.h.platform.press_key(svc::Key::Enter); // never reached
    EXPECT_EQ(r.run(2000), 0);               // the closing window answers the end's key wait
    EXPECT_EQ(r.soundMode, -1);
    EXPECT_EQ(read_file("sound.cop"), unusual);
    EXPECT_FALSE(std::filesystem::exists(".sound.cop.tmp"));
    for (int row = 1; row <= 24; ++row) {
        for (int col = 1; col <= 80; ++col) {
            ASSERT_EQ(r.screen().cell(row - 1, col - 1), 0x0720) << row << "," << col;
        }
    }
    EXPECT_EQ(cells_text(r.screen(), 25, 1, 25), "Press any key to continue");
}

TEST(SoundChoice, MissingFileAfterTwoDialogsStartsOnPcSpeakerAndIsCreated)
{
    ChoiceRun r;
    int dialogs = 0;
    bool enterSent = false;
    r.h.platform.onPass = [&] {
        svc::WindowLoop::Buttons b{};
        if (r.h.sv().window().dialog_buttons(b)) {
            if (!r.h.platform.events_pending()) {
                r.h.platform.press_key(svc::Key::Y);
                ++dialogs;
            }
        } else if (dialogs == 2 && !enterSent && cell_attribute(r.screen(), 8, 34) == kHighlight) {
            r.h.platform.press_key(svc::Key::Enter);
            enterSent = true;
        }
    };
    ASSERT_EQ(r.run(), -1);
    EXPECT_EQ(dialogs, 2); // opening, then reading
    EXPECT_EQ(r.soundMode, 0);
    EXPECT_EQ(read_file("sound.cop"), stored('0'));
}

} // namespace
