// Resource identifiers of Tirelmo.exe.
#pragma once

#define IDI_TIRELMO 149
#define IDR_ACCELERATORS 183
