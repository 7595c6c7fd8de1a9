#pragma once

#include <QByteArray>

namespace varkel::demo {

// An 8-bit palette-index picture, top row first, with the few shapes the demo
// pictures are drawn from. Integer arithmetic only, so every platform draws the
// same bytes. Drawing outside the picture is clipped.
class Canvas {
public:
    Canvas(int width, int height, int background);

    int width() const { return width_; }
    int height() const { return height_; }
    const QByteArray& pixels() const { return pixels_; }

    void set(int x, int y, int colour);
    void fillRect(int x0, int y0, int x1, int y1, int colour);  // inclusive corners
    // The ellipse around (cx, cy); only rows yMin..yMax are filled.
    void fillEllipse(int cx, int cy, int rx, int ry, int colour, int yMin = -1 << 20, int yMax = 1 << 20);
    void line(int x0, int y0, int x1, int y1, int thickness, int colour);
    // `n` in 3 x 5 digits, each pixel a `scale` x `scale` block, top left at (x, y).
    void number(int x, int y, int n, int scale, int colour);
    static int numberWidth(int n, int scale);

private:
    int width_;
    int height_;
    QByteArray pixels_;
};

}  // namespace varkel::demo
