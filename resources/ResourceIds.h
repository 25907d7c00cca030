// Resource identifiers shared by kestrova.rc (windres) and the C++ code.
// Plain #defines only: windres reads this file too.
#pragma once

#define IDI_KESTROVA 1
#define IDI_CLOSE 101
#define IDI_STATUS_GREEN 201
#define IDI_STATUS_YELLOW 202
#define IDI_STATUS_RED 203
