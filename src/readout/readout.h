// The readout's text and where its glyph cells lie, in the glyph sheet and on
// the window. Pure logic: no platform header.
#ifndef ZARVO_READOUT_READOUT_H
#define ZARVO_READOUT_READOUT_H

#include <cstdint>

const int kReadoutChars = 6;
const int kReadoutBufferSize = 16;

const int kCellWidth = 11;
const int kCellHeight = 19;
const int kSheetColumns = 5;
const int kSheetRows = 3;

const int kGlyphPlaceholder = 10;  // middle bar only
const int kGlyphBlank = 11;        // every segment unlit

const int kReadoutTop = 6;

struct CellRect {
    int x, y, w, h;
};

// Six characters and a terminating zero into a buffer of kReadoutBufferSize
// bytes: "******" until the figure is valid, otherwise the figure formatted as
// "%4d%02d" of (rate / 100, rate % 100), e.g. " 45012" for 450.12 MHz.
void BuildReadoutText(int valid, uint32_t rate, char *text);

// '*' is the placeholder, '0'..'9' the digits, anything else a blank cell.
int GlyphIndexFor(char c);

// Cell of glyph g in the 5 x 3 glyph sheet.
CellRect GlyphSourceRect(int glyph);

// Cell of character position i (0..5) on the window. The fifth and sixth cells
// sit one pixel further right to leave room for the panel's decimal point.
CellRect ReadoutCellRect(int position);

#endif
