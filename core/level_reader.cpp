// Sequential reading of the level table's numbers and strings.
#include "core/level_reader.h"

#include "data/level_table.h"
#include "services/common/errors.h"

namespace game {

LevelReader::LevelReader()
    : LevelReader(data::level_table().text, data::level_table().recordOffsets)
{
}

LevelReader::LevelReader(std::string_view text, std::span<const std::size_t> recordOffsets)
    : text_(text), recordOffsets_(recordOffsets)
{
}

bool LevelReader::next_item(svc::ErrorSink& errors, std::string_view& item, bool& quoted,
                            std::size_t& next) const
{
    if (cursor_ >= text_.size()) {
        errors.raise(svc::kOutOfData);
        return false;
    }
    quoted = text_[cursor_] == '"';
    if (quoted) {
        std::size_t close = text_.find('"', cursor_ + 1);
        if (close == std::string_view::npos) {
            close = text_.size(); // an unclosed string runs to the end of the text
        }
        item = text_.substr(cursor_ + 1, close - cursor_ - 1);
        next = close + 1;
    } else {
        std::size_t comma = text_.find(',', cursor_);
        if (comma == std::string_view::npos) {
            comma = text_.size();
        }
        item = text_.substr(cursor_, comma - cursor_);
        next = comma;
    }
    if (next < text_.size() && text_[next] == ',') {
        ++next;
    }
    if (next > text_.size()) {
        next = text_.size();
    }
    return true;
}

bool LevelReader::read_number(svc::ErrorSink& errors, std::int16_t& value)
{
    std::string_view item;
    bool quoted = false;
    std::size_t next = 0;
    if (!next_item(errors, item, quoted, next)) {
        return false;
    }
    if (quoted || item.empty()) {
        errors.raise(svc::kSyntaxError);
        return false;
    }
    long number = 0;
    for (char c : item) {
        if (c < '0' || c > '9') {
            errors.raise(svc::kSyntaxError);
            return false;
        }
        number = number * 10 + (c - '0');
        if (number > 32767) {
            errors.raise(svc::kOverflow);
            return false;
        }
    }
    value = static_cast<std::int16_t>(number);
    cursor_ = next;
    return true;
}

bool LevelReader::read_string(svc::ErrorSink& errors, std::string& value)
{
    std::string_view item;
    bool quoted = false;
    std::size_t next = 0;
    if (!next_item(errors, item, quoted, next)) {
        return false;
    }
    value.assign(item);
    cursor_ = next;
    return true;
}

void LevelReader::restore_level(svc::ErrorSink& errors, int level)
{
    if (level < 1 || level > static_cast<int>(recordOffsets_.size())) {
        errors.raise(svc::kIllegalFunctionCall);
        return;
    }
    cursor_ = recordOffsets_[level - 1];
}

} // namespace game
