// Identifiers shared by the program and its resource script.
#ifndef ZARVO_RES_RESOURCE_H
#define ZARVO_RES_RESOURCE_H

// 1000s: bitmaps and the icon
#define IDB_PANEL       1001
#define IDB_GLYPHS      1002
#define IDI_APP         1101

// the refresh timer
#define IDT_REFRESH     1201

// 2000s: the right-click menu and its commands
#define IDR_POPUP       2001
#define IDM_TOPMOST     2101
#define IDM_ABOUT       2102
#define IDM_EXIT        2109

// 3000s: the About box, its controls and the link cursor
#define IDD_ABOUT       3001
#define IDC_ABOUT_ICON  3002
#define IDC_ABOUT_RULE  3003
#define IDC_ABOUT_NAME  3011
#define IDC_ABOUT_COPY  3012
#define IDC_ABOUT_RIGHTS 3013
#define IDC_ABOUT_URLTAG 3014
#define IDC_LINK        3101
#define IDC_LINKCURSOR  3201

#define ZARVO_LINK_ADDRESS "http://zarvo.example.org/"

#endif
