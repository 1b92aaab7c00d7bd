// The status panel's frames: the border texts made once, sides and boxes.
#include "screens/panel_boxes.h"

#include <array>
#include <cstddef>

#include "core/print_at.h"

namespace screens {
namespace {

using game::print_at;

// The frame borders of every width the panel uses, made once: corner, w - 2 bytes 205, corner.
class BorderTable {
  public:
    static constexpr int kMaxWidth = 14;

    BorderTable()
    {
        constexpr unsigned char kCorners[3][2] = {{201, 187}, {204, 185}, {200, 188}};
        for (std::size_t e = 0; e < 3; ++e) {
            for (int w = 2; w <= kMaxWidth; ++w) {
                char* t = text_[e][static_cast<std::size_t>(w)].data();
                t[0] = static_cast<char>(kCorners[e][0]);
                for (int i = 1; i < w - 1; ++i) {
                    t[i] = '\xCD';
                }
                t[w - 1] = static_cast<char>(kCorners[e][1]);
            }
        }
    }
    std::string_view get(Edge e, int width) const
    {
        const std::size_t w = static_cast<std::size_t>(width);
        return {text_[static_cast<std::size_t>(e)][w].data(), w};
    }

  private:
    std::array<std::array<std::array<char, kMaxWidth>, kMaxWidth + 1>, 3> text_{};
};

std::string_view border(Edge e, int width)
{
    static const BorderTable table;
    return table.get(e, width);
}

} // namespace

void border_at(svc::Services& sv, int row, int col, Edge e, int width)
{
    print_at(sv, row, col, {border(e, width)});
}

void sides_at(svc::Services& sv, int row, int left, int right)
{
    print_at(sv, row, left, {kSide});
    print_at(sv, row, right, {kSide});
}

void box_head(svc::Services& sv, int top, int col, int width, std::string_view title)
{
    border_at(sv, top, col, Edge::Top, width);
    print_at(sv, top + 1, col, {kSide, title, kSide});
    border_at(sv, top + 2, col, Edge::Middle, width);
}

void titled_box(svc::Services& sv, int top, int col, int width, std::string_view title)
{
    box_head(sv, top, col, width, title);
    sides_at(sv, top + 3, col, col + width - 1);
    border_at(sv, top + 4, col, Edge::Bottom, width);
}

void dashed_box(svc::Services& sv, int top, int col)
{
    constexpr std::string_view kDashes = " -------- ";
    box_head(sv, top, col, 12, kDashes);
    print_at(sv, top + 3, col, {kSide, kDashes, kSide});
    border_at(sv, top + 4, col, Edge::Bottom, 12);
}

} // namespace screens
