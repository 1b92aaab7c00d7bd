// The title screen: its texts and pictures, the menu arrow, the sound toggle and the
// opening sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "screens/title.h"
#include "services/macro.h"
#include "services/sound.h"
#include "services/tone_synth.h"
#include "tests/screen_reading.h"
#include "tests/support/harness.h"

namespace {

using screen_reading::glyph_at;
using screen_reading::glyphs_text;
using testing_support::Harness;
using testing_support::TempDir;
using K = svc::Key;

// Test pictures: one plain colour each, so a pixel tells which picture lies there.
struct Picture {
    const char* file;
    int w, h, colour;
};
constexpr Picture kPictures[] = {
    {"mm.grh", 40, 40, 1},     {"uu.grh", 40, 40, 2},    {"vv.grh", 40, 40, 3},
    {"ee.grh", 40, 40, 4},     {"ss.grh", 40, 40, 5},    {"cc.grh", 40, 40, 6},
    {"kk.grh", 40, 40, 7},     {"yy.grh", 40, 40, 8},    {"f3.grh", 30, 20, 9},
    {"dd.grh", 30, 20, 9},     {"gioc.grh", 60, 30, 11}, {"fine.grh", 60, 30, 12},
    {"altop.grh", 60, 40, 13}, {"corni.grh", 40, 20, 3}, {"frec.grh", 20, 16, 14},
    {"si.grh", 16, 16, 10},    {"no.grh", 16, 16, 4},
};
constexpr int kArrowColour = 14;
constexpr int kYesColour = 10;
constexpr int kNoColour = 4;

// One call of the title screen in a folder holding the pictures.
struct TitleRun {
    TempDir dir;
    Harness h;
    game::i16 faceColour = 0, skyColour = 7;
    game::i16 silentMode = 0, soundMode = 0, introPlayed = 1, titleChoice = 0;

    TitleRun()
    {
        for (const Picture& p : kPictures) {
            screen_reading::write_picture(p.file, p.w, p.h, p.colour);
        }
    }
    int run()
    {
        h.platform.closeAfterMs = h.platform.ticks_ms() + 60000; // a hung menu ends the test
        return h.run([&] {
            screens::ShowTitleScreen(h.sv(), faceColour, skyColour, silentMode, soundMode,
                                     introPlayed, titleChoice);
        });
    }
    void press(std::initializer_list<K> keys)
    {
        for (const K k : keys) {
            h.platform.press_key(k);
        }
    }
    bool arrowAt(int x) { return h.screen().pixel(x + 5, 345) == kArrowColour; }
    int soundPicture() { return h.screen().pixel(375, 350); }
};

// The buffers the tone queue played after its silent lead-in; `markers` keeps the one-frame
// silent buffers that mark the end of each tune.
std::vector<std::vector<std::int16_t>> played(const svc::HeadlessAudio& audio, bool markers)
{
    std::vector<std::vector<std::int16_t>> out;
    for (std::size_t i = 0; i < audio.tones.size(); ++i) {
        const auto& frames = audio.tones[i].frames;
        const bool silent =
            std::all_of(frames.begin(), frames.end(), [](auto v) { return v == 0; });
        const bool leadIn =
            i == 0 && silent && frames.size() == 2 * svc::SoundSystem::kLeadInFrames;
        const bool marker = silent && frames.size() == 2;
        if (!leadIn && (markers || !marker)) {
            out.push_back(frames);
        }
    }
    return out;
}

TEST(TitleScreen, DrawsFrameInstructionsLegendAndPictures)
{
    TitleRun r;
    r.h.platform.type_text(" ");
    ASSERT_EQ(r.run(), -1);
    const svc::ScreenImage& s = r.h.screen();
    ASSERT_EQ(s.mode(), 12);

    // The frame, in green: borders on rows 1, 8, 17 and 27, sides in between.
    const struct {
        int row;
        const char* ends;
    } frame[] = {{1, "\xC9\xBB"},  {2, "\xBA\xBA"},  {8, "\xCC\xB9"}, {17, "\xCC\xB9"},
                 {26, "\xBA\xBA"}, {27, "\xC8\xBC"}, {28, "  "}};
    for (const auto& f : frame) {
        EXPECT_EQ(std::string() + glyph_at(s, f.row, 1, 10) + glyph_at(s, f.row, 80, 10), f.ends)
            << f.row;
    }
    EXPECT_EQ(glyphs_text(s, 9, 31, 19, 15), "I S T R U Z I O N I");
    EXPECT_EQ(glyphs_text(s, 11, 5, 73, 14),
              "ogni muvesecky. Per  lo  spostamento  all'interno  dei muvesecki  bisogna");
    // The arrow keys sit in white in the gaps of the yellow texts.
    EXPECT_EQ(glyphs_text(s, 13, 5, 51, 14), "< >=movimento in avanti -< >=movimento all'indietro");
    EXPECT_EQ(glyphs_text(s, 14, 5, 62, 14),
              "< >=rotazione di 90\xF8 a destra -< >=rotazione di 90\xF8 a sinistra");
    EXPECT_EQ(std::string() + glyph_at(s, 13, 6, 15) + glyph_at(s, 13, 31, 15) +
                  glyph_at(s, 14, 6, 15) + glyph_at(s, 14, 37, 15),
              "\x18\x19\x1A\x1B");
    EXPECT_EQ(glyphs_text(s, 3, 70, 8, 14), "Ver. 3.0");

    EXPECT_EQ(glyphs_text(s, 18, 3, 18, 10), "< > < >= Seleziona");
    EXPECT_EQ(glyphs_text(s, 18, 62, 17, 10), "<      >=Conferma");
    EXPECT_EQ(glyphs_text(s, 18, 4, 65, 14),
              "\x1B   \x1A" + std::string(24, ' ') + "\x11\xD9" + std::string(28, ' ') + "Spazio");
    EXPECT_NE(glyphs_text(s, 28, 13, 10, 15), std::string(10, ' ')); // the credit line

    // M U V E S E C K Y, the E picture twice, then the two tail pictures.
    const int letterColours[] = {1, 2, 3, 4, 5, 4, 6, 7, 8};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(s.pixel(20 + 60 * i, 23), letterColours[i]) << i;
    }
    EXPECT_EQ(s.pixel(547, 58) + s.pixel(587, 58), 18);
    // The tiled menu frame: 13 tiles above and below, two on each side.
    for (int x = 11; x <= 587; x += 48) {
        EXPECT_EQ(s.pixel(x, 291), 3) << x;
        EXPECT_EQ(s.pixel(x, 383), 3) << x;
    }
    for (const int y : {322, 353}) {
        EXPECT_EQ(s.pixel(11, y), 3);
        EXPECT_EQ(s.pixel(587, y), 3);
        EXPECT_EQ(s.pixel(300, y), 0);
    }
    // Play, loudspeaker and leave.
    EXPECT_EQ(std::vector<int>({s.pixel(86, 320), s.pixel(232, 328), s.pixel(453, 325)}),
              std::vector<int>({11, 13, 12}));
    EXPECT_TRUE(r.arrowAt(54));
    EXPECT_EQ(r.soundPicture(), kYesColour);
    EXPECT_EQ(r.titleChoice, 54);
}

// Arrow keys (or the capital letters of their scan codes), then the choice confirmed.
struct MoveCase {
    const char* name;
    std::vector<K> keys;
    const char* typed;
    int choice;
    int silentMode;
    std::size_t clicks;
};

TEST(TitleScreen, ArrowMovesRightAndLeftWithWrapAndSpaceConfirmsOnlyPlayOrLeave)
{
    // clang-format off
    const std::vector<MoveCase> cases = {
        {"three rights come back to play", {K::Right, K::Right, K::Right, K::Space}, "", 54, 0, 0},
        {"space at the loudspeaker is ignored", {K::Right, K::Space, K::Right, K::Space}, "",
         422, 0, 0},
        {"one left wraps to leave", {K::Left, K::Space}, "", 422, 0, 0},
        {"left again goes to the loudspeaker, then to play",
         {K::Left, K::Left, K::Space, K::Left, K::Space}, "", 54, 0, 0},
        {"enter at play and at leave does nothing",
         {K::Enter, K::Right, K::Right, K::Enter, K::Space}, "", 422, 0, 0},
        {"capital M is right", {}, "MM ", 422, 0, 0},
        {"capital K is left", {}, "KK\r K ", 54, 1, 1},
        {"small m and k do nothing", {}, "mk ", 54, 0, 0},
    };
    // clang-format on
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TitleRun r;
        for (const K k : c.keys) {
            r.h.platform.press_key(k);
        }
        r.h.platform.type_text(c.typed);
        ASSERT_EQ(r.run(), -1);
        EXPECT_EQ(r.titleChoice, c.choice);
        EXPECT_EQ(r.silentMode, c.silentMode);
        EXPECT_EQ(r.soundPicture(), c.silentMode != 0 ? kNoColour : kYesColour);
        EXPECT_EQ(played(r.h.platform.audio, false).size(), c.clicks);
        for (const int x : {54, 204, 422}) {
            EXPECT_EQ(r.arrowAt(x), x == c.choice) << x; // the old arrows are erased
        }
    }
}

TEST(TitleScreen, EnterAtTheLoudspeakerTogglesSilenceAndAlwaysClicks)
{
    svc::MacroState fresh;
    const std::vector<std::int16_t> click = svc::synth_macro("L30O4a", fresh)->samples;
    for (const game::i16 initial : {0, 1}) {
        for (const int presses : {1, 2}) {
            SCOPED_TRACE("silentMode " + std::to_string(initial) + ", " + std::to_string(presses) +
                         " presses");
            TitleRun r;
            r.silentMode = initial;
            r.press({K::Right});
            for (int i = 0; i < presses; ++i) {
                r.press({K::Enter});
            }
            r.press({K::Left, K::Space});
            ASSERT_EQ(r.run(), -1);
            const game::i16 expected = presses == 2 ? initial : static_cast<game::i16>(1 - initial);
            EXPECT_EQ(r.silentMode, expected);
            EXPECT_EQ(r.soundPicture(), expected != 0 ? kNoColour : kYesColour);
            const auto tones = played(r.h.platform.audio, false);
            ASSERT_EQ(tones.size(), static_cast<std::size_t>(presses));
            for (const auto& t : tones) {
                EXPECT_EQ(t, click);
            }
        }
    }
}

TEST(TitleScreen, PcSpeakerOpeningPlaysFortyRandomTones)
{
    TitleRun r;
    r.introPlayed = 0;
    r.h.sv().set_random_seed(0x1234);
    r.press({K::Space});
    ASSERT_EQ(r.run(), -1);
    EXPECT_EQ(r.introPlayed, 1);

    // The same draws on a second services layer give the expected tones:
    // frequency first, 500..1499 Hz, then the duration in ticks.
    Harness reference;
    reference.sv().set_random_seed(0x1234);
    std::vector<std::vector<std::int16_t>> expected;
    for (int i = 0; i < 40; ++i) {
        const double frequencyHz = std::floor(reference.sv().random_single() * 1000.0) + 500.0;
        const double ticks = reference.sv().random_single();
        ASSERT_GE(frequencyHz, 500);
        ASSERT_LE(frequencyHz, 1499);
        svc::SoundBuffer b;
        svc::append_tone(b, frequencyHz, ticks / 18.2, 1.0);
        expected.push_back(b.samples);
    }
    EXPECT_EQ(played(r.h.platform.audio, true), expected);
    EXPECT_TRUE(r.h.platform.audio.files.empty());
}

TEST(TitleScreen, OpeningSoundFollowsSoundModeAndSilence)
{
    struct Case {
        game::i16 soundMode, silentMode, introPlayed;
        bool tones, presenta;
    };
    const Case cases[] = {
        {1, 0, 0, false, true},  {1, 1, 0, false, false}, {1, 0, 1, false, false},
        {0, 1, 0, false, false}, {0, 0, 0, true, false},  {0, 0, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("soundMode " + std::to_string(c.soundMode) + " silentMode " +
                     std::to_string(c.silentMode) + " introPlayed " +
                     std::to_string(c.introPlayed));
        TitleRun r;
        r.soundMode = c.soundMode;
        r.silentMode = c.silentMode;
        r.introPlayed = c.introPlayed;
        r.press({K::Space});
        ASSERT_EQ(r.run(), -1);
        EXPECT_EQ(r.introPlayed, 1);
        EXPECT_EQ(played(r.h.platform.audio, true).size(), c.tones ? 40u : 0u);
        const auto& files = r.h.platform.audio.files;
        if (c.presenta) {
            ASSERT_EQ(files.size(), 1u);
            EXPECT_EQ(files[0].path, "Presenta.ogg");
            EXPECT_TRUE(files[0].sample); // it plays on under the menu
        } else {
            EXPECT_TRUE(files.empty());
        }
    }
}

} // namespace
