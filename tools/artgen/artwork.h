// The generated resources and the driver that writes them.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "bytes.h"
#include "canvas.h"
#include "image_files.h"
#include "sound.h"

namespace artgen {

// Sizes the program's drawing code relies on.
constexpr int kScoreSpriteCell = 28;    // score sprite: 8 cells, picture row over mask row
constexpr int kCategoryCellLarge = 18;  // category squares beside the rows
constexpr int kCategoryCellSmall = 11;  // category squares of the Todolists and dialogs
constexpr int kSmallIconSize = 24;      // not-yet-started icon, row marker button
constexpr int kToolbarButtonSize = 40;  // each button: released image over pressed image
constexpr int kDigitWidth = 28, kDigitHeight = 56, kDigitColumns = 11, kDigitStyles = 5;
constexpr int kGaugeWidth = 200, kGaugeHeight = 6;
constexpr int kPaperWidth = 1400, kPaperHeight = 1300;
constexpr int kHeaderWidth = 1460, kHeaderHeight = 139;
constexpr int kDeskPictureWidth = 250, kDeskPictureHeight = 189;
constexpr int kCountdownMinutes = 25;  // countdown icons for 0..25 minutes left

// Icons (art_icons.cpp). `size` is the edge in pixels.
Canvas drawTomato(int size);

// Score marks (art_scores.cpp).
Canvas drawScoreSprite();
Canvas drawCategorySquares(int cell);
Canvas drawNotStartedIcon();
Canvas drawRowMarkerButton();

// Timer (art_timer.cpp).
Canvas drawDigitStrip();
Canvas drawGaugeStrip();
Canvas drawCountdownIcon(int minutes, int size);

// Skins (art_papers.cpp). The papers come palettized: they are drawn
// straight into a ramp of close colours.
IndexedImage drawCrumpledPaper();
IndexedImage drawParchment();
Canvas drawHeaderStrip();
Canvas drawDeskPicture();

// Toolbar (art_toolbar.cpp), in the toolbar's own order.
enum class ToolbarIcon {
  StartTimer,
  StopTimer,
  Save,
  Settings,
  PreviousSheet,
  TodoList,
  NextSheet,
  MoveRowUp,
  MoveRowDown,
  Help,
  Estimated,
  Pomodoro,
  Abandoned,
  InternalInterruption,
  ExternalInterruption,
  Done,
  Share,
  Support,
  Projects,
  Report,
  DeleteEntries,
};
struct ToolbarBitmap {
  int resourceId;
  std::string fileName;
  ToolbarIcon icon;
};
const std::vector<ToolbarBitmap>& toolbarBitmaps();
Canvas drawToolbarButton(ToolbarIcon icon);

// Sounds (art_sounds.cpp).
Pcm makeTickSound();
Pcm makeBellSound();

enum class ResourceType { None, Bitmap, Icon };

struct ArtFile {
  std::string name;
  std::function<Bytes()> make;
  // Where the program finds it: a numeric resource of Tirelmo.exe, or
  // nothing for files that go elsewhere (sounds, the launcher's icons, the
  // program icon, which tirelmo.rc names itself).
  int resourceId = 0;
  ResourceType type = ResourceType::None;
};

// Every file artgen writes, in the order it writes them. The build lists the
// same names (ARTGEN_FILES in cmake/Artgen.cmake).
const std::vector<ArtFile>& artFiles();

// The resource script fragment naming every bitmap and icon by its id.
std::string resourceScript();

// 8-bit when the picture has at most 256 colours, 24-bit otherwise: lossless
// either way. Only the large skin bitmaps are run-length coded; small ones
// stay in the plain form every loader takes.
Bytes encodeBmpExact(const Canvas& image);

// Generates every file into outdir (created if missing). Each file is written
// under a temporary name and renamed into place, so an interrupted run never
// leaves a truncated file that looks up to date. Returns 0, or 1 after
// writing the reason to err.
int runArtgen(const std::filesystem::path& outdir, std::ostream& err);

}  // namespace artgen
