// The images as Windows files, all little-endian: 16-colour bitmaps, the
// icon and the link cursor. For the image generator.
#ifndef ZARVO_TOOLS_IMAGEFILES_H
#define ZARVO_TOOLS_IMAGEFILES_H

#include <cstdint>
#include <vector>

#include "imagerules.h"

// The pieces the three files are made of.
namespace imagefiles {

struct Writer {
    std::vector<uint8_t> bytes;
    void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
};

inline void InfoHeader(Writer &w, int width, int height, int bits, uint32_t imageSize, int colours)
{
    w.u32(40);
    w.u32(width);
    w.u32(height);
    w.u32(1 | (bits << 16));  // planes, bit count
    w.u32(0);                 // uncompressed
    w.u32(imageSize);
    w.u32(0);
    w.u32(0);
    w.u32(colours);
    w.u32(0);
}

inline void Palette16(Writer &w)
{
    for (const Rgb &c : kStandardPalette) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
}

inline int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// Rows bottom-up, each padded to four bytes; value(x, y) gives a pixel's bits.
template <typename F>
inline void PixelRows(Writer &w, int width, int height, int bits, F value)
{
    int stride = Stride(width, bits);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            int bit = x * bits;
            int shift = 8 - bits - bit % 8;
            row[bit / 8] |= static_cast<uint8_t>(value(x, y) << shift);
        }
        w.bytes.insert(w.bytes.end(), row.begin(), row.end());
    }
}

inline void IconDirectory(Writer &w, int type, int colourCount, int field4, int field6, uint32_t bytes)
{
    w.u16(0);
    w.u16(type);  // 1 icon, 2 cursor
    w.u16(1);
    w.u8(32);
    w.u8(32);
    w.u8(colourCount);
    w.u8(0);
    w.u16(field4);  // icon: planes; cursor: hot spot x
    w.u16(field6);  // icon: bit count; cursor: hot spot y
    w.u32(bytes);
    w.u32(22);
}

}  // namespace imagefiles

inline std::vector<uint8_t> EncodeBmp4(const IndexedImage &image)
{
    using namespace imagefiles;
    uint32_t imageSize = Stride(image.width, 4) * image.height;
    uint32_t offset = 14 + 40 + 16 * 4;
    Writer w;
    w.u8('B');
    w.u8('M');
    w.u32(offset + imageSize);
    w.u32(0);
    w.u32(offset);
    InfoHeader(w, image.width, image.height, 4, imageSize, 16);
    Palette16(w);
    PixelRows(w, image.width, image.height, 4, [&](int x, int y) { return image.at(x, y); });
    return w.bytes;
}

inline std::vector<uint8_t> EncodeIcon(const Icon &icon)
{
    using namespace imagefiles;
    uint32_t colourBytes = Stride(32, 4) * 32;
    uint32_t maskBytes = Stride(32, 1) * 32;
    Writer w;
    IconDirectory(w, 1, 16, 1, 4, 40 + 16 * 4 + colourBytes + maskBytes);
    InfoHeader(w, 32, 64, 4, colourBytes + maskBytes, 0);
    Palette16(w);
    PixelRows(w, 32, 32, 4, [&](int x, int y) { return icon.colour.at(x, y); });
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return icon.transparent.at(x, y); });
    return w.bytes;
}

inline std::vector<uint8_t> EncodeHandCursor()
{
    using namespace imagefiles;
    auto cell = [](int x, int y) -> char {
        if (y >= 22 || x >= 18)
            return '-';
        return kHandCursorRows[y][x];
    };
    uint32_t planeBytes = Stride(32, 1) * 32;
    Writer w;
    IconDirectory(w, 2, 2, 0, 0, 40 + 2 * 4 + 2 * planeBytes);
    InfoHeader(w, 32, 64, 1, 2 * planeBytes, 2);
    w.u32(0x00000000);  // black
    w.u32(0x00FFFFFF);  // white
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return cell(x, y) == 'o' ? 1 : 0; });
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return cell(x, y) == '-' ? 1 : 0; });
    return w.bytes;
}

#endif
