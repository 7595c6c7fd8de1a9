#include "demo_folder/demo_pictures.h"

#include "demo_folder/demo_bytes.h"
#include "demo_folder/demo_canvas.h"
#include "demo_folder/demo_layout.h"
#include "demo_folder/demo_random.h"
#include "shared/picture_banks.h"

#include <algorithm>
#include <array>

namespace varkel::demo {

namespace {

// Face palette ranges.
constexpr int kSkin = 1;     // 1..63 dark to light
constexpr int kHair = 64;    // 64..95
constexpr int kRobes[4] = {96, 128, 160, 192};  // red, blue, green, gold ramps of 32
constexpr int kBlack = 224;
constexpr int kWhite = 255;

void drawFace(Canvas& c, int n)
{
    const int robe = kRobes[n % 4];
    const int skin = kSkin + 16 + n * 7 % 30;
    const int hair = kHair + 2 + n * 5 % 18;
    const int cx = 32;
    const int cy = 36;
    const int rx = 13 + n % 3;
    const int ry = 17 + n / 3 % 3;
    const int style = n / 4 % 4;

    // Shoulders and robe, with a collar.
    c.fillEllipse(cx, 88, 31, 24, robe + 10);
    c.fillEllipse(cx, 90, 23, 17, robe + 18);
    c.line(cx - 9, 64, cx, 74, 2, robe + 28);
    c.line(cx + 9, 64, cx, 74, 2, robe + 28);
    c.fillRect(cx - 5, cy + ry - 4, cx + 5, 66, skin - 8);

    // Head, ears and light on the face.
    c.fillEllipse(cx - rx, cy + 1, 3, 5, skin - 4);
    c.fillEllipse(cx + rx, cy + 1, 3, 5, skin - 4);
    c.fillEllipse(cx, cy, rx, ry, skin);
    c.fillEllipse(cx - 2, cy - 3, rx - 5, ry - 7, std::min(skin + 8, 63));

    // Hair, hat, helmet or headband.
    const int top = cy - ry;
    switch (style) {
    case 0:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, hair, top - 2, cy - ry / 3);
        c.fillEllipse(cx, top - 3, 5, 4, hair);
        break;
    case 1:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, hair, top - 2, cy - ry / 2);
        c.fillRect(cx - rx + 2, top - 9, cx + rx - 2, top + 3, robe + 6);
        c.line(cx - rx - 3, top + 3, cx + rx + 3, top + 3, 2, robe + 2);
        break;
    case 2:
        c.fillEllipse(cx, cy - 1, rx + 2, ry + 2, kRobes[3] + 14, top - 3, cy - ry / 3);
        c.line(cx, top - 10, cx, top - 2, 2, kRobes[3] + 26);
        c.line(cx - rx - 2, cy - ry / 3, cx + rx + 2, cy - ry / 3, 2, kRobes[3] + 6);
        break;
    default:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, hair, top - 2, cy - ry / 3);
        c.line(cx - rx, cy - ry / 2, cx + rx, cy - ry / 2, 3, kRobes[0] + 16);
        break;
    }

    // Brows, eyes, nose.
    c.line(cx - 10, cy - 6 + n % 2, cx - 4, cy - 5, 2, hair);
    c.line(cx + 4, cy - 5, cx + 10, cy - 6 + n % 2, 2, hair);
    for (const int ex : {cx - 7, cx + 7}) {
        c.fillEllipse(ex, cy - 1, 3, 1, kWhite - 2);
        c.set(ex + (n % 3) - 1, cy - 1, kBlack);
    }
    c.line(cx, cy, cx - 1, cy + 5, 1, std::max(skin - 10, 1));

    // Beard of varying length, moustache, mouth.
    const int beard = n % 5 * 3;
    if (beard > 0) {
        c.fillEllipse(cx, cy + ry - 4 + beard / 2, 5 + beard / 4, 3 + beard / 2, hair, cy + 9, 1 << 20);
        c.line(cx - 6, cy + 8, cx + 6, cy + 8, 2, hair);
    }
    c.line(cx - 3, cy + 10, cx + 3, cy + 10, 1, kRobes[0] + 4);

    // The face number on the robe.
    c.fillRect(cx - Canvas::numberWidth(n, 1) / 2 - 2, 70, cx + Canvas::numberWidth(n, 1) / 2 + 1, 78, kBlack + 4);
    c.number(cx - Canvas::numberWidth(n, 1) / 2, 72, n, 1, kWhite);
}

// Treasure palettes: index 0 is the dark background, then four 64-colour ramps
// (dark to light) of the picture's own hue and three neighbours.
int tone(int band, int value)
{
    return 1 + 64 * band + std::clamp(value, 0, band == 3 ? 62 : 63);
}

void drawTreasure(Canvas& c, int n)
{
    const int grow = n / 8;  // 0..9: the same object a little larger each time
    const int m = 60;
    switch (n % 8) {
    case 0:  // sword
        c.line(30 - grow, 95 + grow, 95 + grow, 20 - grow, 6, tone(3, 48));
        c.line(32 - grow, 93 + grow, 95 + grow, 22 - grow, 1, tone(3, 62));
        c.line(22 - grow, 84, 40, 102 + grow, 5, tone(1, 40));
        c.line(14 - grow, 108 + grow, 28 - grow, 94 + grow, 5, tone(0, 30));
        c.fillEllipse(12 - grow, 110 + grow, 4, 4, tone(1, 50));
        break;
    case 1:  // horse
        c.fillEllipse(m - 4, 62, 30 + grow, 15, tone(0, 40));
        c.line(m + 20, 58, m + 34, 30, 9, tone(0, 40));
        c.fillEllipse(m + 38, 30, 11, 7, tone(0, 44));
        c.line(m + 20, 52, m + 32, 26, 3, tone(1, 20));
        for (const int lx : {m - 26, m - 16, m + 6, m + 16})
            c.line(lx, 70, lx + (lx % 3) - 1, 104, 4, tone(0, 32));
        c.line(m - 32, 56, m - 44, 86, 4, tone(1, 24));
        c.set(m + 42, 28, tone(3, 62));
        break;
    case 2:  // book
        c.fillRect(26, 28, 94 + grow, 96, tone(0, 34));
        c.fillRect(26, 28, 34, 96, tone(1, 20));
        for (int y = 32; y <= 92; y += 4)
            c.line(95 + grow, y, 97 + grow, y, 1, tone(3, 58));
        c.fillRect(52, 40, 64, 80, tone(2, 50));
        break;
    case 3:  // seal
        c.fillRect(34 - grow, 62, 86 + grow, 100, tone(0, 42));
        c.fillEllipse(m, 46, 16 + grow, 14, tone(1, 40));
        c.fillEllipse(m + 6, 42, 4, 3, tone(3, 60));
        c.line(44, 70, 44, 92, 3, tone(2, 20));
        c.line(44, 70, 76, 70, 3, tone(2, 20));
        c.line(76, 70, 76, 92, 3, tone(2, 20));
        c.line(60, 74, 60, 92, 3, tone(2, 20));
        break;
    case 4:  // scroll
        c.fillRect(30, 24, 90, 96, tone(3, 56));
        c.fillEllipse(m, 22, 34 + grow / 2, 5, tone(0, 26));
        c.fillEllipse(m, 98, 34 + grow / 2, 5, tone(0, 26));
        for (int x = 40; x <= 80; x += 8)
            c.line(x, 34, x, 34 + 40 + (x * 7 + n) % 14, 2, tone(0, 8));
        break;
    case 5:  // jade disc
        c.fillEllipse(m, m, 38 + grow / 2, 38 + grow / 2, tone(2, 44));
        c.fillEllipse(m - 6, m - 6, 26, 26, tone(2, 54));
        c.fillEllipse(m, m, 12, 12, 0);
        break;
    case 6:  // spear
        c.line(18, 108, 96 - grow, 22 + grow, 3, tone(1, 30));
        c.line(96 - grow, 22 + grow, 108 - grow, 8 + grow, 6, tone(3, 58));
        c.line(100 - grow, 18 + grow, 110 - grow, 6 + grow, 2, tone(3, 62));
        c.fillEllipse(92 - grow, 30 + grow, 5, 7, tone(2, 36));
        break;
    default:  // vase
        c.fillEllipse(m, 72, 26 + grow, 30, tone(0, 40));
        c.fillRect(m - 9, 28, m + 9, 46, tone(0, 36));
        c.fillEllipse(m, 28, 14, 4, tone(1, 50));
        c.line(m - 24 - grow, 72, m + 24 + grow, 72, 3, tone(2, 48));
        break;
    }
    c.number(4, 4, n, 2, tone(3, 62));
}

// Background colour table: sky 0..127, far mountains 128..159, near mountains
// 160..191, ground 192..223, sun and stars 224..255; each a run from one colour
// to another.
QByteArray backgroundPalette()
{
    struct Run {
        int first, count;
        std::array<int, 3> from, to;
    };
    const Run runs[] = {
        {0, 64, {14, 12, 40}, {96, 52, 104}},    {64, 64, {96, 52, 104}, {236, 128, 72}},
        {128, 32, {120, 78, 118}, {60, 38, 74}}, {160, 32, {58, 34, 62}, {22, 14, 30}},
        {192, 32, {30, 22, 26}, {8, 6, 10}},     {224, 32, {236, 140, 80}, {255, 240, 190}},
    };
    QByteArray table(kPaletteBytes, '\0');
    for (const Run& r : runs) {
        for (int i = 0; i < r.count; ++i) {
            const int at = 4 * (r.first + i);
            for (int ch = 0; ch < 3; ++ch) {
                const int v = r.from[ch] + (r.to[ch] - r.from[ch]) * i / (r.count - 1);
                PutByte(table, at + 2 - ch, v);  // stored blue, green, red
            }
        }
    }
    return table;
}

// A ridge line across the picture by midpoint displacement.
std::array<int, 513> ridge(DemoRandom& random, int base, int amplitude)
{
    std::array<int, 513> h{};
    h[0] = base + random.between(-amplitude, amplitude);
    h[512] = base + random.between(-amplitude, amplitude);
    int a = amplitude;
    for (int step = 512; step > 1; step /= 2) {
        for (int i = step / 2; i < 512; i += step)
            h[i] = (h[i - step / 2] + h[i + step / 2]) / 2 + random.between(-a, a);
        a = std::max(1, a * 55 / 100);
    }
    return h;
}

void drawBackground(Canvas& c)
{
    DemoRandom random(Stream::Background, 0);
    const int w = c.width();
    const int h = c.height();
    for (int y = 0; y < h; ++y)
        c.fillRect(0, y, w - 1, y, std::min(127, y * 128 / 270));
    for (int s = 0; s < 60; ++s)
        c.set(random.below(w), random.below(110), 240 + random.below(16));
    const int sunX = 392;
    const int sunY = 238;
    for (int k = 0; k < 5; ++k)
        c.fillEllipse(sunX, sunY, 48 - 8 * k, 48 - 8 * k, 226 + 7 * k);

    const struct {
        int base, amplitude, colour, shades;
    } layers[] = {{236, 46, 128, 31}, {282, 34, 160, 31}, {326, 14, 192, 31}};
    for (const auto& layer : layers) {
        const auto line = ridge(random, layer.base, layer.amplitude);
        for (int x = 0; x < w; ++x) {
            const int top = line[x * 512 / w];
            for (int y = std::max(top, 0); y < h; ++y)
                c.set(x, y, layer.colour + std::min(layer.shades, (y - top) / 3));
        }
    }
}

// `count` pictures of width x height drawn one after another into a bank of `size` bytes.
QByteArray drawBank(qsizetype size, int count, int width, int height, void (*draw)(Canvas&, int))
{
    QByteArray bank(size, '\0');
    for (int n = 0; n < count; ++n) {
        Canvas canvas(width, height, 0);
        draw(canvas, n);
        bank.replace(qsizetype(n) * width * height, qsizetype(width) * height, canvas.pixels());
    }
    return bank;
}

}  // namespace

QByteArray MakeFaceBank()
{
    return drawBank(kFaceBankSize, kFaceCount, kFaceWidth, kFaceHeight, drawFace);
}

QByteArray MakeTreasureBank()
{
    return drawBank(kTreasureBankSize, kTreasurePictureCount, kTreasurePictureSide, kTreasurePictureSide, drawTreasure);
}

QByteArray MakeBackgroundBitmap()
{
    Canvas canvas(kBackgroundWidth, kBackgroundHeight, 0);
    drawBackground(canvas);

    const int pixelOffset = kBitmapHeaderBytes + kPaletteBytes;
    QByteArray file(kBackgroundFileSize, '\0');
    PutByte(file, 0, 'B');
    PutByte(file, 1, 'M');
    PutLE16(file, 2, static_cast<int>(kBackgroundFileSize & 0xFFFF));
    PutLE16(file, 4, static_cast<int>(kBackgroundFileSize >> 16));
    PutLE16(file, 10, pixelOffset);
    PutByte(file, 14, 40);
    PutLE16(file, 18, kBackgroundWidth);
    PutLE16(file, 22, kBackgroundHeight);
    PutByte(file, 26, 1);
    PutByte(file, 28, 8);
    const int pixelBytes = kBackgroundWidth * kBackgroundHeight;
    PutLE16(file, 34, pixelBytes & 0xFFFF);
    PutLE16(file, 36, pixelBytes >> 16);
    file.replace(kBitmapHeaderBytes, kPaletteBytes, backgroundPalette());
    // Rows are stored bottom-up; 480 bytes a row needs no padding.
    for (int y = 0; y < kBackgroundHeight; ++y) {
        file.replace(pixelOffset + qsizetype(kBackgroundHeight - 1 - y) * kBackgroundWidth, kBackgroundWidth,
                     canvas.pixels().mid(qsizetype(y) * kBackgroundWidth, kBackgroundWidth));
    }
    return file;
}

}  // namespace varkel::demo
