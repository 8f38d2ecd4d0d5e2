// Resource ids shared by the program, its resource library and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MAIN 129
#define IDI_BRINDLE 135
#define IDB_FOLDER_OPEN 140
#define IDB_FOLDER_CLOSED 141
/* The folder strips drawn at larger frame sizes (for higher DPIs): base + frame size in pixels,
   for the sizes BRINDLE_FOLDER_SIZES lists. */
#define IDB_FOLDER_OPEN_SIZED 2100
#define IDB_FOLDER_CLOSED_SIZED 2200
#define BRINDLE_FOLDER_SIZES 20, 24, 28, 32, 40, 48

#define IDC_ABOUT_VERSION 1000
#define IDC_ABOUT_LEGAL 1001

#define IDS_ABOUTBOX 101
#define IDS_VERSION_FORMAT 102
#define IDS_CATEGORY_FIRST 1000  /* 1000 + category number, 0..10 */
#define IDS_CATEGORY_OTHERS 1255
#define IDS_TAB_CATEGORIES 1300
#define IDS_TAB_LIST 1301
#define IDS_TAB_RECENT 1302
#define IDS_OPEN 1310
#define IDS_HELP 1311
#define IDS_DESCRIPTION_NAME 1320  /* what a screen reader calls the description pane */
#define IDS_LINE_SPACING 1400
#define IDS_ERR_SYSTEM 2000
#define IDS_ERR_PROGRAM_NOT_FOUND 2001
#define IDS_ERR_HELP_NOT_FOUND 2002
#define IDS_APP_TITLE 57344
