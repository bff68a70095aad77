// The ids of the games room's dialogs and their controls, shared by its
// resource script and its windows.
#pragma once

#define IDD_PROPERTIES 300
#define IDD_OFFERS 301
#define IDC_NAME 310
#define IDC_PROGRAM 311
#define IDC_ARGUMENTS 312
#define IDC_FOLDER 313
#define IDC_CATEGORY 314
#define IDC_PICTURE 315
#define IDC_BROWSE 316
#define IDC_FOUND 320
#define IDC_IMPORT_SELECTED 321
#define IDC_IMPORT_ALL 322
