// An indexed-colour drawing surface for the asset generator: filled shapes, thick
// outlines, cell maps and whole-picture effects, all on exact pixel centres.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

// A W x H picture of palette indices 0..15, row-major. Shapes are given in output pixels
// (floats); a pixel belongs to a shape when its centre (x + 0.5, y + 0.5) does, so the
// same description always gives the same pixels. An optional clip rectangle limits
// every shape (not the effects).
class Canvas {
  public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    std::uint8_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint8_t c);

    void set_clip(double x0, double y0, double x1, double y1);
    void clear_clip();

    // Axis-aligned rectangle [x0, x1) x [y0, y1).
    void rect(double x0, double y0, double x1, double y1, std::uint8_t c);
    // Ellipse about (cx, cy); thickness 0 fills it, otherwise only a band that wide
    // inside its edge.
    void ellipse(double cx, double cy, double rx, double ry, double thickness, std::uint8_t c);
    // The eye-shaped region between two circular arcs through (cx +- halfWidth, cy),
    // halfHeight above and below the centre; thickness as for the ellipse.
    void lens(double cx, double cy, double halfWidth, double halfHeight, double thickness,
              std::uint8_t c);
    // Filled polygon (even-odd rule) through the points x0, y0, x1, y1, ...
    void polygon(const std::vector<double>& xy, std::uint8_t c);
    // A straight stroke of the given width with round ends.
    void line(double x1, double y1, double x2, double y2, double width, std::uint8_t c);

    // Effects on everything drawn so far:
    // every pixel that is set and whose neighbour at (dx, dy) is 0 becomes c (a rim light);
    void rim(int dx, int dy, std::uint8_t c);
    // the drawn shape is repeated behind itself, one pixel at a time, up to (dx, dy),
    // in colour c, filling only pixels that are still 0 (a solid drop shadow);
    void shadow(int dx, int dy, std::uint8_t c);
    // every 0 pixel touching a set pixel (sideways or up and down) becomes c.
    void outline(std::uint8_t c);

  private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    bool clipped(int x, int y) const;
    // Calls paint(x, y) for every pixel whose centre passes inside(cx, cy), scanning the
    // bounding box x0..x1, y0..y1 (output pixels, clamped to the canvas).
    template <typename Inside>
    void fill_where(double x0, double y0, double x1, double y1, std::uint8_t c, Inside inside);

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
    bool clip_ = false;
    double clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;
};

} // namespace assets
