#include "readout.h"

#include <cstring>

#include "../measure/rate.h"

void BuildReadoutText(int valid, uint32_t rate, char *text)
{
    if (!valid) {
        std::memcpy(text, "******", kReadoutChars + 1);
        return;
    }
    // The cells cannot show more than 9999.99; holding the figure there keeps
    // the text at exactly six characters whatever is passed in.
    if (rate > kMaxRateFigure)
        rate = kMaxRateFigure;

    // Same result as wsprintf "%4d%02d": integer megahertz right-aligned in four
    // places with leading spaces, then the hundredths with a leading zero.
    uint32_t mhz = rate / 100;
    uint32_t hundredths = rate % 100;
    text[5] = static_cast<char>('0' + hundredths % 10);
    text[4] = static_cast<char>('0' + hundredths / 10);
    for (int i = 3; i >= 0; --i) {
        bool leading = (mhz == 0 && i < 3);
        text[i] = leading ? ' ' : static_cast<char>('0' + mhz % 10);
        mhz /= 10;
    }
    text[kReadoutChars] = '\0';
}

int GlyphIndexFor(char c)
{
    if (c == '*')
        return kGlyphPlaceholder;
    if (c >= '0' && c <= '9')
        return c - '0';
    return kGlyphBlank;
}

CellRect GlyphSourceRect(int glyph)
{
    CellRect r = {kCellWidth * (glyph % kSheetColumns), kCellHeight * (glyph / kSheetColumns), kCellWidth, kCellHeight};
    return r;
}

CellRect ReadoutCellRect(int position)
{
    int x = 6 + 13 * position + (position >= 4 ? 1 : 0);
    CellRect r = {x, kReadoutTop, kCellWidth, kCellHeight};
    return r;
}
