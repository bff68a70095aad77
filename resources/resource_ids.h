// Resource ids shared by the resource scripts and the Win32 code.
#pragma once

#define IDI_LUDORA 1
#define IDC_HOTSPOT 101
#define IDC_QUICKMENU 102
#define IDR_BAR_SKIN 201
#define IDR_DEFRAG_SKIN 202
