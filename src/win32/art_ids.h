// Resource ids of the generated bitmaps and icons. artgen writes the pictures and
// "art_resources.rc", which tirelmo.rc includes; these names say which number is which.
// (The program icon, 149, is IDI_TIRELMO in resource.h.)
#pragma once

namespace tirelmo::art {

// Score column and rows.
inline constexpr int kBmpScoreSprite = 106;      // 8 cells of 28 x 28: picture row over mask row
inline constexpr int kBmpCategorySquares = 202;  // 13 cells of 18 x 18, cell x = category * 18
inline constexpr int kBmpCategorySmall = 160;    // 13 cells of 11 x 11, cell x = category * 11
inline constexpr int kBmpNotStarted = 168;       // 24 x 24 hourglass, on white
inline constexpr int kBmpMarkerButton = 172;     // 24 x 24 image of the row marker button

// Skins.
inline constexpr int kBmpCrumpledPaper = 147;    // 1400 x 1300, RLE8
inline constexpr int kBmpParchmentPaper = 154;   // 1400 x 1300, RLE8
inline constexpr int kBmpClassicPicture = 166;   // 250 x 189, drawn on the "classic" paper and grid
inline constexpr int kBmpHeaderStrip = 167;      // 1460 x 139, RLE8

// Toolbar buttons: 40 x 80, the released image over the pressed one.
inline constexpr int kBmpTbStartTimer = 129;
inline constexpr int kBmpTbStopTimer = 169;
inline constexpr int kBmpTbSave = 138;
inline constexpr int kBmpTbSettings = 159;
inline constexpr int kBmpTbPreviousTodo = 128;
inline constexpr int kBmpTbTodoList = 163;
inline constexpr int kBmpTbNextTodo = 127;
inline constexpr int kBmpTbMoveUp = 145;
inline constexpr int kBmpTbMoveDown = 146;
inline constexpr int kBmpTbHelp = 126;
inline constexpr int kBmpTbEstimated = 137;
inline constexpr int kBmpTbPomodoro = 130;
inline constexpr int kBmpTbAbandoned = 144;
inline constexpr int kBmpTbInternal = 131;
inline constexpr int kBmpTbExternal = 133;
inline constexpr int kBmpTbDone = 132;
inline constexpr int kBmpTbShare = 164;
inline constexpr int kBmpTbSupport = 204;
inline constexpr int kBmpTbProjects = 165;
inline constexpr int kBmpTbReport = 203;
inline constexpr int kBmpTbDeleteEntries = 201;

// Timer.
inline constexpr int kBmpTimerDigits = 210;      // 308 x 280: 5 style rows of eleven 28 x 56 images
inline constexpr int kBmpGaugeStrip = 211;       // 200 x 6: show 100 px from x = 100 - percentage
inline constexpr int kIcoTimerTomato = 212;      // 16, 24 and 32 px: the tomato of the end-of-period dialog
inline constexpr int kIcoCountdownFirst = 175;   // 16 and 32 px; 175 + minutes left, 0..25
inline constexpr int kIcoCountdownLast = 200;

constexpr int countdownIcon(int minutesLeft) { return kIcoCountdownFirst + minutesLeft; }

}  // namespace tirelmo::art
