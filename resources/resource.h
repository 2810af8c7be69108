// Resource and command IDs shared by the resource script and the code.
#pragma once

// The version, as the version resource gives it, for the log of a run from a script.
#define KORAVEL_VERSION_TEXT "1.0.0.1"

#define IDD_ABOUT 100
#define IDS_ABOUT_MENU 101
#define IDD_SETTINGS 102
#define IDS_MEASURE_MENU 103
#define IDI_APP 128
#define IDD_WRONG_PLATFORM 129
#define IDD_MEASURE 130

// The About and Measure Rate entries of the settings dialog's system menu. System commands use
// the low four bits internally, so only multiples of 16 below 0xF000 are free for an application.
#define IDM_ABOUT 0x0010
#define IDM_MEASURE 0x0020

#define IDC_CURRENT_BAR 1002
#define IDC_NEW_SLIDER 1003
#define IDC_CURRENT_TEXT 1004
#define IDC_NEW_TEXT 1005
#define IDC_CHOICE1 1006
#define IDC_CHOICE2 1007
#define IDC_CHOICE3 1008
#define IDC_CHOICE4 1009
#define IDC_CHOICE5 1010
#define IDC_MEASURE_TEXT 1011
#define IDC_MEASURE_LIST 1012
