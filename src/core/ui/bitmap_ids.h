// Resource ids of the bitmaps the core draws with. The Win32 resources carry the same numbers.
#pragma once

#include "platform/canvas.h"

namespace tirelmo {

inline constexpr BitmapId kBmpScoreSprite = 106;      // 28 x 28 cells, masks in the row below
inline constexpr BitmapId kBmpCrumpledPaper = 147;    // 1400 x 1300
inline constexpr BitmapId kBmpParchmentPaper = 154;   // 1400 x 1300
inline constexpr BitmapId kBmpCategorySmall = 160;    // 11 x 11 cells (Next Things, dialogs)
inline constexpr BitmapId kBmpClassicPicture = 166;   // 250 x 189
inline constexpr BitmapId kBmpHeaderStrip = 167;      // 1460 x 139
inline constexpr BitmapId kBmpNotStarted = 168;       // 24 x 24
inline constexpr BitmapId kBmpMarkerButton = 172;     // 24 x 24
inline constexpr BitmapId kBmpCategorySquares = 202;  // 18 x 18 cells
// The abandoned gauge: a strip 200 x 6 whose left half is full and right half empty, so a
// 100-pixel window starting at 100 - percentage shows percentage pixels filled.
inline constexpr BitmapId kBmpGaugeStrip = 211;

// Cells of the score sprite, by x.
inline constexpr int kCellSize = 28;
inline constexpr int kCellPomodoro = 28;
inline constexpr int kCellInternal = 56;
inline constexpr int kCellDone = 84;
inline constexpr int kCellExternal = 112;
inline constexpr int kCellAbandoned = 140;
inline constexpr int kCellEstimated = 168;
inline constexpr int kCellCurrentRow = 196;

}  // namespace tirelmo
