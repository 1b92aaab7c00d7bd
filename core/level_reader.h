// The read cursor over the built-in level table: items are read one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "services/common/errors.h"

namespace game {

// Reads the level table strictly in sequence. Every read takes the item at the cursor and
// moves past it; a read that fails raises a run-time error on the sink it is given and leaves
// the cursor and the target as they were. The cursor starts at the beginning of the table.
class LevelReader {
  public:
    // A reader over the game's own table.
    LevelReader();
    // A reader over another table text with its record offsets (level k at offsets[k - 1]).
    LevelReader(std::string_view text, std::span<const std::size_t> recordOffsets);

    // Reads an unquoted item as a 16-bit integer. Past the end: "Out of DATA" (4); a quoted
    // or malformed item: "Syntax error" (2); beyond -32768..32767: "Overflow" (6).
    bool read_number(svc::ErrorSink& errors, std::int16_t& value);
    // Reads an item as text: the part between the quotes, or an unquoted item as written.
    // Past the end: "Out of DATA" (4).
    bool read_string(svc::ErrorSink& errors, std::string& value);

    // Places the cursor at the start of level k's record (1..10); level 1 is the start of
    // the table. Other values raise "Illegal function call" (5) and leave the cursor.
    void restore_level(svc::ErrorSink& errors, int level);
    // Places the cursor at the start of the table.
    void reset() { cursor_ = 0; }

    std::size_t position() const { return cursor_; }

  private:
    // Finds the item at the cursor: its text (without quotes) and where the next one starts.
    bool next_item(svc::ErrorSink& errors, std::string_view& item, bool& quoted,
                   std::size_t& next) const;

    std::string_view text_;
    std::span<const std::size_t> recordOffsets_;
    std::size_t cursor_ = 0;
};

} // namespace game
