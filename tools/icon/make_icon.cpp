// Draws the program's icon and writes it as the .ico file that glyvora.exe carries as its resource;
// the build embeds the same file's bytes for the tray.
//
//   c++ -std=c++20 -O2 tools/icon/make_icon.cpp -o make_icon
//   ./make_icon src/app/glyvora.ico
//
// The picture: a white bold serif "A" with a soft shadow on a rounded blue tile. Every shape is
// sampled 16 x 16 times per pixel, so the tile's corners and the letter's slopes get alpha edges
// instead of stairs. One 32 x 32 image, 32 bits per pixel, bottom-up, with an AND mask: 4286 bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 16;

struct Point {
    double x, y;
};
using Polygon = std::vector<Point>;

// Straight-alpha colour, components 0..1.
struct Colour {
    double r = 0, g = 0, b = 0, a = 0;
};

bool insidePolygon(const Polygon& poly, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point& p = poly[i];
        const Point& q = poly[j];
        if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) inside = !inside;
    }
    return inside;
}

bool insideRoundedRect(double x, double y, double left, double top, double right, double bottom,
                       double radius) {
    if (x < left || x > right || y < top || y > bottom) return false;
    const double cx = std::clamp(x, left + radius, right - radius);
    const double cy = std::clamp(y, top + radius, bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// The letter: two strokes of unequal weight meeting in a flat apex, a crossbar and slab feet with a
// short bracket, in the 32 x 32 pixel grid.
std::vector<Polygon> letterA() {
    return {
        {{14.2, 4.6}, {16.4, 4.6}, {9.6, 23.6}, {7.4, 23.6}},     // thin left stroke
        {{14.2, 4.6}, {17.9, 4.6}, {25.0, 23.6}, {20.4, 23.6}},   // heavy right stroke
        {{10.6, 15.6}, {21.6, 15.6}, {22.3, 17.6}, {9.9, 17.6}},  // crossbar
        {{5.0, 23.0}, {12.2, 23.0}, {12.2, 25.4}, {5.0, 25.4}},   // left foot
        {{7.0, 21.8}, {10.2, 21.8}, {11.0, 23.2}, {6.4, 23.2}},   // its bracket
        {{18.2, 23.0}, {27.4, 23.0}, {27.4, 25.4}, {18.2, 25.4}}, // right foot
        {{19.8, 21.8}, {24.6, 21.8}, {25.6, 23.2}, {19.4, 23.2}}, // its bracket
        {{12.6, 4.6}, {15.0, 4.6}, {14.6, 5.9}, {12.6, 5.9}},     // apex serif
    };
}

bool insideLetter(const std::vector<Polygon>& letter, double x, double y) {
    for (const Polygon& p : letter)
        if (insidePolygon(p, x, y)) return true;
    return false;
}

// Fraction of the pixel (px, py) covered by a shape.
template <typename Inside>
double coverage(int px, int py, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
            if (inside(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples)) ++hits;
    return static_cast<double>(hits) / (kSamples * kSamples);
}

// Porter-Duff "over" in straight alpha.
Colour over(const Colour& top, const Colour& under) {
    const double a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {};
    auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

Colour pixel(int x, int y, const std::vector<Polygon>& letter) {
    // The tile: blue, lighter at the top, with a faint light rim just inside its edge.
    const double t = y / double(kSize - 1);
    Colour tile{0.20 + (0.09 - 0.20) * t, 0.47 + (0.25 - 0.47) * t, 0.96 + (0.66 - 0.96) * t, 0};
    tile.a = coverage(x, y, [](double u, double v) { return insideRoundedRect(u, v, 1, 1, 31, 31, 6.5); });
    const double inner =
        coverage(x, y, [](double u, double v) { return insideRoundedRect(u, v, 2, 2, 30, 30, 5.5); });
    const double rim = std::max(0.0, tile.a - inner) * (1 - t);
    tile.r += (1 - tile.r) * 0.35 * rim;
    tile.g += (1 - tile.g) * 0.35 * rim;
    tile.b += (1 - tile.b) * 0.35 * rim;

    const double shadowCover =
        coverage(x, y, [&](double u, double v) { return insideLetter(letter, u - 0.9, v - 1.1); });
    const Colour shadow{0.02, 0.06, 0.20, 0.45 * shadowCover * tile.a};
    const double glyphCover = coverage(x, y, [&](double u, double v) { return insideLetter(letter, u, v); });
    const Colour glyph{1.0, 1.0, 1.0, glyphCover};
    return over(glyph, over(shadow, tile));
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

std::vector<std::uint8_t> iconFile() {
    constexpr std::uint32_t pixelBytes = kSize * kSize * 4;
    constexpr std::uint32_t maskBytes = kSize * 4; // one bit per pixel, rows padded to 32 bits
    constexpr std::uint32_t imageBytes = 40 + pixelBytes + maskBytes;
    std::vector<std::uint8_t> out;
    // ICONDIR
    put16(out, 0); // reserved
    put16(out, 1); // type: icon
    put16(out, 1); // one image
    // ICONDIRENTRY
    out.push_back(kSize); // width
    out.push_back(kSize); // height
    out.push_back(0);     // no palette
    out.push_back(0);     // reserved
    put16(out, 1);        // planes
    put16(out, 32);       // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16); // the image follows the one entry
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows
    put32(out, 40);
    put32(out, kSize);
    put32(out, kSize * 2);
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, 0);  // BI_RGB
    put32(out, pixelBytes + maskBytes);
    put32(out, 0); // x pixels per metre
    put32(out, 0); // y pixels per metre
    put32(out, 0); // colours used
    put32(out, 0); // colours important

    const std::vector<Polygon> letter = letterA();
    std::vector<Colour> image(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            image[y * kSize + x] = pixel(x, y, letter);
    // BGRA rows, bottom row first
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; ++x) {
            const Colour& c = image[y * kSize + x];
            const std::uint8_t a = channel(c.a);
            out.push_back(a ? channel(c.b) : 0);
            out.push_back(a ? channel(c.g) : 0);
            out.push_back(a ? channel(c.r) : 0);
            out.push_back(a);
        }
    }
    // AND mask, bottom row first: a set bit leaves the screen as it is, for the fully clear pixels
    for (int y = kSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (channel(image[y * kSize + byte * 8 + bit].a) == 0) bits |= 0x80 >> bit;
            out.push_back(bits);
        }
    }
    return out;
}

bool writeIco(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon ICO_FILE\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = iconFile();
    if (bytes.size() != 4286) {
        std::fprintf(stderr, "icon has %zu bytes, not 4286\n", bytes.size());
        return 1;
    }
    if (!writeIco(argv[1], bytes)) {
        std::fprintf(stderr, "cannot write the output\n");
        return 1;
    }
    return 0;
}
