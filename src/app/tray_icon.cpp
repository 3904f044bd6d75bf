#include "app/tray_icon.h"

#include <cstdint>

namespace glyvora::app {

namespace {

void put16(ByteSet& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(ByteSet& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

// A plain tile with a letter block; one 32 x 32 image of 32 bits per pixel.
ByteSet trayIconFile() {
    ByteSet out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(0);
    out.push_back(0);
    put16(out, 1);
    put16(out, 32);
    put32(out, 40 + 32 * 32 * 4 + 32 * 4);
    put32(out, 22);
    put32(out, 40);
    put32(out, 32);
    put32(out, 64);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, 32 * 32 * 4 + 32 * 4);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool letter = (x >= 10 && x <= 21 && (y >= 6 && y <= 25)) && (x <= 13 || y >= 22 || y <= 9);
            out.push_back(letter ? 0xFF : 0x80);
            out.push_back(letter ? 0xFF : 0x30);
            out.push_back(letter ? 0xFF : 0x20);
            out.push_back(0xFF);
        }
    for (int i = 0; i < 32 * 4; ++i)
        out.push_back(0);
    return out;
}

} // namespace glyvora::app
