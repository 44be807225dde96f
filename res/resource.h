// Identifiers shared by the resource script and the program.
#pragma once

#define IDD_ABOUT 100
#define IDS_ABOUT_ITEM 101
#define IDD_CLEANUP 102
#define IDI_OBERIN 128
#define IDR_CLEANUP_CLIP 129

#define IDC_CLEANUP 1000
#define IDC_ANIMATION 1001
#define IDC_VIEW_LOG 1002
#define IDC_HELP_BUTTON 57670

// System-menu command of the About item.
#define IDM_ABOUT 0x0010
