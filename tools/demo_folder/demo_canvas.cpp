#include "demo_folder/demo_canvas.h"

#include <QString>

#include <algorithm>
#include <cstdlib>

namespace varkel::demo {

Canvas::Canvas(int width, int height, int background)
    : width_(width), height_(height), pixels_(qsizetype(width) * height, static_cast<char>(background))
{
}

void Canvas::set(int x, int y, int colour)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[qsizetype(y) * width_ + x] = static_cast<char>(colour);
}

void Canvas::fillRect(int x0, int y0, int x1, int y1, int colour)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            set(x, y, colour);
    }
}

void Canvas::fillEllipse(int cx, int cy, int rx, int ry, int colour, int yMin, int yMax)
{
    if (rx <= 0 || ry <= 0)
        return;
    const long long limit = 1LL * rx * rx * ry * ry;
    for (int y = std::max(cy - ry, yMin); y <= std::min(cy + ry, yMax); ++y) {
        const long long dy = y - cy;
        for (int x = cx - rx; x <= cx + rx; ++x) {
            const long long dx = x - cx;
            if (dx * dx * ry * ry + dy * dy * rx * rx <= limit)
                set(x, y, colour);
        }
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, int thickness, int colour)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const int lo = -(thickness - 1) / 2;
    const int hi = thickness / 2;
    int err = dx + dy;
    for (;;) {
        fillRect(x0 + lo, y0 + lo, x0 + hi, y0 + hi, colour);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

namespace {

// Rows of the digits 0..9, three bits each, top row first.
constexpr int kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

}  // namespace

int Canvas::numberWidth(int n, int scale)
{
    const int digits = static_cast<int>(QString::number(n).size());
    return (4 * digits - 1) * scale;
}

void Canvas::number(int x, int y, int n, int scale, int colour)
{
    const QString text = QString::number(n);
    for (const QChar c : text) {
        const int d = c.digitValue();
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (kDigits[d][row] & (4 >> col))
                    fillRect(x + col * scale, y + row * scale, x + col * scale + scale - 1, y + row * scale + scale - 1,
                             colour);
            }
        }
        x += 4 * scale;
    }
}

}  // namespace varkel::demo
