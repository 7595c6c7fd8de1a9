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

// What face n looks like: its colours, the head's centre and radii, and its headwear.
struct FaceLook {
    explicit FaceLook(int n)
        : n(n), robe(kRobes[n % 4]), skin(kSkin + 16 + n * 7 % 30), hair(kHair + 2 + n * 5 % 18), rx(13 + n % 3),
          ry(17 + n / 3 % 3), style(n / 4 % 4)
    {
    }

    int n;  // the face number
    int robe;
    int skin;
    int hair;
    int cx = 32;
    int cy = 36;
    int rx;
    int ry;
    int style;  // 0 hair, 1 hat, 2 helmet, 3 headband
};

// Shoulders and robe, with a collar, and the neck.
void drawRobe(Canvas& c, const FaceLook& f)
{
    c.fillEllipse(f.cx, 88, 31, 24, f.robe + 10);
    c.fillEllipse(f.cx, 90, 23, 17, f.robe + 18);
    c.line(f.cx - 9, 64, f.cx, 74, 2, f.robe + 28);
    c.line(f.cx + 9, 64, f.cx, 74, 2, f.robe + 28);
    c.fillRect(f.cx - 5, f.cy + f.ry - 4, f.cx + 5, 66, f.skin - 8);
}

// Head, ears and light on the face.
void drawHead(Canvas& c, const FaceLook& f)
{
    c.fillEllipse(f.cx - f.rx, f.cy + 1, 3, 5, f.skin - 4);
    c.fillEllipse(f.cx + f.rx, f.cy + 1, 3, 5, f.skin - 4);
    c.fillEllipse(f.cx, f.cy, f.rx, f.ry, f.skin);
    c.fillEllipse(f.cx - 2, f.cy - 3, f.rx - 5, f.ry - 7, std::min(f.skin + 8, 63));
}

// Hair, hat, helmet or headband.
void drawHeadwear(Canvas& c, const FaceLook& f)
{
    const int cx = f.cx;
    const int cy = f.cy;
    const int rx = f.rx;
    const int ry = f.ry;
    const int top = cy - ry;
    switch (f.style) {
    case 0:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, f.hair, top - 2, cy - ry / 3);
        c.fillEllipse(cx, top - 3, 5, 4, f.hair);
        break;
    case 1:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, f.hair, top - 2, cy - ry / 2);
        c.fillRect(cx - rx + 2, top - 9, cx + rx - 2, top + 3, f.robe + 6);
        c.line(cx - rx - 3, top + 3, cx + rx + 3, top + 3, 2, f.robe + 2);
        break;
    case 2:
        c.fillEllipse(cx, cy - 1, rx + 2, ry + 2, kRobes[3] + 14, top - 3, cy - ry / 3);
        c.line(cx, top - 10, cx, top - 2, 2, kRobes[3] + 26);
        c.line(cx - rx - 2, cy - ry / 3, cx + rx + 2, cy - ry / 3, 2, kRobes[3] + 6);
        break;
    default:
        c.fillEllipse(cx, cy - 2, rx + 1, ry + 1, f.hair, top - 2, cy - ry / 3);
        c.line(cx - rx, cy - ry / 2, cx + rx, cy - ry / 2, 3, kRobes[0] + 16);
        break;
    }
}

// Brows, eyes, nose, then a beard of varying length with a moustache, and the mouth.
void drawFeatures(Canvas& c, const FaceLook& f)
{
    const int n = f.n;
    const int cx = f.cx;
    const int cy = f.cy;
    c.line(cx - 10, cy - 6 + n % 2, cx - 4, cy - 5, 2, f.hair);
    c.line(cx + 4, cy - 5, cx + 10, cy - 6 + n % 2, 2, f.hair);
    for (const int ex : {cx - 7, cx + 7}) {
        c.fillEllipse(ex, cy - 1, 3, 1, kWhite - 2);
        c.set(ex + (n % 3) - 1, cy - 1, kBlack);
    }
    c.line(cx, cy, cx - 1, cy + 5, 1, std::max(f.skin - 10, 1));

    const int beard = n % 5 * 3;
    if (beard > 0) {
        c.fillEllipse(cx, cy + f.ry - 4 + beard / 2, 5 + beard / 4, 3 + beard / 2, f.hair, cy + 9, 1 << 20);
        c.line(cx - 6, cy + 8, cx + 6, cy + 8, 2, f.hair);
    }
    c.line(cx - 3, cy + 10, cx + 3, cy + 10, 1, kRobes[0] + 4);
}

void drawFace(Canvas& c, int n)
{
    const FaceLook look(n);
    drawRobe(c, look);
    drawHead(c, look);
    drawHeadwear(c, look);
    drawFeatures(c, look);

    // The face number on the robe.
    const int cx = look.cx;
    c.fillRect(cx - Canvas::numberWidth(n, 1) / 2 - 2, 70, cx + Canvas::numberWidth(n, 1) / 2 + 1, 78, kBlack + 4);
    c.number(cx - Canvas::numberWidth(n, 1) / 2, 72, n, 1, kWhite);
}

// Treasure palettes: index 0 is the dark background, then four 64-colour ramps
// (dark to light) of the picture's own hue and three neighbours.
int tone(int band, int value)
{
    return 1 + 64 * band + std::clamp(value, 0, band == 3 ? 62 : 63);
}

// The treasures, one function for each kind of object; `grow` (0..9) draws the
// same object a little larger each time.
constexpr int kMiddle = kTreasurePictureSide / 2;

void drawSword(Canvas& c, int grow)
{
    c.line(30 - grow, 95 + grow, 95 + grow, 20 - grow, 6, tone(3, 48));
    c.line(32 - grow, 93 + grow, 95 + grow, 22 - grow, 1, tone(3, 62));
    c.line(22 - grow, 84, 40, 102 + grow, 5, tone(1, 40));
    c.line(14 - grow, 108 + grow, 28 - grow, 94 + grow, 5, tone(0, 30));
    c.fillEllipse(12 - grow, 110 + grow, 4, 4, tone(1, 50));
}

void drawHorse(Canvas& c, int grow)
{
    c.fillEllipse(kMiddle - 4, 62, 30 + grow, 15, tone(0, 40));
    c.line(kMiddle + 20, 58, kMiddle + 34, 30, 9, tone(0, 40));
    c.fillEllipse(kMiddle + 38, 30, 11, 7, tone(0, 44));
    c.line(kMiddle + 20, 52, kMiddle + 32, 26, 3, tone(1, 20));
    for (const int lx : {kMiddle - 26, kMiddle - 16, kMiddle + 6, kMiddle + 16})
        c.line(lx, 70, lx + (lx % 3) - 1, 104, 4, tone(0, 32));
    c.line(kMiddle - 32, 56, kMiddle - 44, 86, 4, tone(1, 24));
    c.set(kMiddle + 42, 28, tone(3, 62));
}

void drawBook(Canvas& c, int grow)
{
    c.fillRect(26, 28, 94 + grow, 96, tone(0, 34));
    c.fillRect(26, 28, 34, 96, tone(1, 20));
    for (int y = 32; y <= 92; y += 4)
        c.line(95 + grow, y, 97 + grow, y, 1, tone(3, 58));
    c.fillRect(52, 40, 64, 80, tone(2, 50));
}

void drawSeal(Canvas& c, int grow)
{
    c.fillRect(34 - grow, 62, 86 + grow, 100, tone(0, 42));
    c.fillEllipse(kMiddle, 46, 16 + grow, 14, tone(1, 40));
    c.fillEllipse(kMiddle + 6, 42, 4, 3, tone(3, 60));
    c.line(44, 70, 44, 92, 3, tone(2, 20));
    c.line(44, 70, 76, 70, 3, tone(2, 20));
    c.line(76, 70, 76, 92, 3, tone(2, 20));
    c.line(60, 74, 60, 92, 3, tone(2, 20));
}

// Its lines of writing vary with the picture number `n`.
void drawScroll(Canvas& c, int grow, int n)
{
    c.fillRect(30, 24, 90, 96, tone(3, 56));
    c.fillEllipse(kMiddle, 22, 34 + grow / 2, 5, tone(0, 26));
    c.fillEllipse(kMiddle, 98, 34 + grow / 2, 5, tone(0, 26));
    for (int x = 40; x <= 80; x += 8)
        c.line(x, 34, x, 34 + 40 + (x * 7 + n) % 14, 2, tone(0, 8));
}

void drawJadeDisc(Canvas& c, int grow)
{
    c.fillEllipse(kMiddle, kMiddle, 38 + grow / 2, 38 + grow / 2, tone(2, 44));
    c.fillEllipse(kMiddle - 6, kMiddle - 6, 26, 26, tone(2, 54));
    c.fillEllipse(kMiddle, kMiddle, 12, 12, 0);
}

void drawSpear(Canvas& c, int grow)
{
    c.line(18, 108, 96 - grow, 22 + grow, 3, tone(1, 30));
    c.line(96 - grow, 22 + grow, 108 - grow, 8 + grow, 6, tone(3, 58));
    c.line(100 - grow, 18 + grow, 110 - grow, 6 + grow, 2, tone(3, 62));
    c.fillEllipse(92 - grow, 30 + grow, 5, 7, tone(2, 36));
}

void drawVase(Canvas& c, int grow)
{
    c.fillEllipse(kMiddle, 72, 26 + grow, 30, tone(0, 40));
    c.fillRect(kMiddle - 9, 28, kMiddle + 9, 46, tone(0, 36));
    c.fillEllipse(kMiddle, 28, 14, 4, tone(1, 50));
    c.line(kMiddle - 24 - grow, 72, kMiddle + 24 + grow, 72, 3, tone(2, 48));
}

void drawTreasure(Canvas& c, int n)
{
    const int grow = n / 8;
    switch (n % 8) {
    case 0:
        drawSword(c, grow);
        break;
    case 1:
        drawHorse(c, grow);
        break;
    case 2:
        drawBook(c, grow);
        break;
    case 3:
        drawSeal(c, grow);
        break;
    case 4:
        drawScroll(c, grow, n);
        break;
    case 5:
        drawJadeDisc(c, grow);
        break;
    case 6:
        drawSpear(c, grow);
        break;
    default:
        drawVase(c, grow);
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
