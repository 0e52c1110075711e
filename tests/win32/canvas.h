// A 32-bit top-down bitmap selected into a memory context, for painting into
// and reading back pixel by pixel, and the images the rules say it must hold.
#ifndef ZARVO_TESTS_CANVAS_H
#define ZARVO_TESTS_CANVAS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "imagerules.h"

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }  // 0xRRGGBB
    void Fill(uint32_t rgb);

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t *bits_;
};

uint32_t RgbOf(uint8_t paletteIndex);

// The panel with the cells of the given six-character readout text drawn on it.
IndexedImage ExpectedReadout(const char *text);

// First pixel where the canvas differs from the image inside the rectangle,
// as "(x,y) is 0x.. not 0x..", or "" where they agree.
std::string FirstDifference(const Canvas &canvas, const IndexedImage &image, int x0, int y0,
                            int width, int height);

#endif
