#ifndef ZARVO_READOUT_PAINT_H
#define ZARVO_READOUT_PAINT_H

#include <windows.h>

// Draws the readout onto the main window's client-area context dc: the panel
// and then the six cells when full is non-zero, only the six cells otherwise.
// The context belongs to the caller; everything else is loaded and freed here.
void PaintReadout(int full, HDC dc);

#endif
