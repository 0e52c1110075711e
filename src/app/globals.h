// State owned by the window thread.
#ifndef ZARVO_APP_GLOBALS_H
#define ZARVO_APP_GLOBALS_H

#include <windows.h>

extern HINSTANCE g_hInstance;  // every resource is loaded from this module
extern int g_bTopmost;         // 1 while the window is kept above all others
extern int g_bVisited;         // 1 once the About box's link has been clicked

#endif
