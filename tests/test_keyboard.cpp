// The key table and the key buffer, alone and through the window thread's pass.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "services/input/keyboard.h"
#include "tests/support/harness.h"

using svc::Key;
using svc::KeyCode;
using svc::KeyPress;
using testing_support::Harness;

namespace {

std::pair<int, int> codeOf(Key k, bool shift = false, bool ctrl = false, bool alt = false,
                           bool caps = false, bool num = false)
{
    const auto c = svc::translate_key(KeyPress{k, shift, ctrl, alt, caps, num});
    if (!c) {
        return {-1, -1};
    }
    return {c->ch, c->scan};
}

} // namespace

// Two modifiers at once, which the table's columns leave out: Ctrl+S is 19 (the save key)
// whatever Shift says; Alt wins over Ctrl.
TEST(KeyTable, ShiftGivesWayToCtrlAndCtrlToAlt)
{
    EXPECT_EQ(codeOf(Key::S, true, true), std::make_pair(19, 0x1F));
    EXPECT_EQ(codeOf(Key::S, false, true, true), std::make_pair(0, 31));
    EXPECT_EQ(codeOf(Key::Up, true, true), codeOf(Key::Up, false, true));
}

// The whole table against tests/golden/keys.table, one line per key: its codes alone, with
// Shift, Ctrl, Alt, Caps Lock, Shift and Caps Lock, Num Lock, Shift and Num Lock ("-": no code).
// MUV_GOLDEN_UPDATE=1 rewrites the file; read the diff against the PC's table before keeping it.
TEST(KeyTable, EveryKeyInEveryColumnAsRecorded)
{
    std::string got;
    for (int k = 1; k < 0x200; ++k) {
        std::string line;
        for (int m = 0; m < 8; ++m) {
            const bool shift = m == 1 || m == 5 || m == 7;
            const auto c = svc::translate_key(
                KeyPress{static_cast<Key>(k), shift, m == 2, m == 3, m == 4 || m == 5, m >= 6});
            char cell[8] = " -";
            if (c) {
                std::snprintf(cell, sizeof cell, " %02X/%02X", c->ch, c->scan);
            }
            line += cell;
        }
        if (line.find('/') != std::string::npos) {
            char key[8];
            std::snprintf(key, sizeof key, "%03X:", k);
            got += key + line + "\n";
        }
    }
    const std::string path = MUV_SOURCE_DIR "/tests/golden/keys.table";
    if (std::getenv("MUV_GOLDEN_UPDATE") != nullptr) {
        testing_support::write_file(path, got);
    }
    EXPECT_EQ(testing_support::read_file(path), got);
}

TEST(KeyBuffer, HoldsFifteenPressesInOrder)
{
    svc::KeyBuffer b;
    EXPECT_TRUE(b.empty());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(b.push(KeyCode{static_cast<std::uint8_t>('a' + i), 0}), i < 15) << i;
    }
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(b.pop()->ch, 'a' + i);
    }
    EXPECT_FALSE(b.pop());
    // The ring wraps: many rounds of push/pop keep working.
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(b.push(KeyCode{static_cast<std::uint8_t>(i), 1}));
        ASSERT_EQ(b.pop()->ch, i);
    }
}

TEST(ReadKey, EmptyAtOnceThenOneAndTwoByteCodes)
{
    Harness h;
    const double before = h.platform.ticks_ms();
    EXPECT_EQ(h.sv().read_key(), "");
    EXPECT_LT(h.platform.ticks_ms() - before, 1.0); // never waits
    h.platform.press_key(Key::Right);
    h.platform.type_text("az"); // the first and last letters
    h.platform.press_key(Key::S, false, true);
    h.platform.advance(40);
    EXPECT_EQ(h.sv().read_key(), std::string("\0M", 2));
    EXPECT_EQ(h.sv().read_key(), "a");
    EXPECT_EQ(h.sv().read_key(), "z");
    EXPECT_EQ(h.sv().read_key(), "\x13");
    EXPECT_EQ(h.sv().read_key(), "");
}

TEST(WaitKeys, CollectsFirstBytesAndStopsOnExitRequest)
{
    Harness h;
    h.platform.press_key(Key::Up);
    h.platform.type_text("L");
    EXPECT_EQ(h.sv().wait_keys(2), std::string("\0L", 2));
    h.platform.close_window();
    EXPECT_EQ(h.sv().wait_keys(1), "");
}
