#include "app/damaged_sheet.h"

#include <string>

#include "base/log.h"
#include "sheet/sheet_load.h"
#include "storage/file_ops.h"

namespace tirelmo {

namespace {

// More copies than this of one file mean something else is wrong; they are not looked for.
constexpr int kMaxDamagedCopies = 999;

// The copy must be on the disk before the save that follows replaces the original.
bool flushCopy(u16v copy) {
  const FileHandle h = fileOpen(copy, OpenMode::ReadWriteExisting);
  if (h == kInvalidFile) return false;
  const bool ok = fileFlush(h);
  fileClose(h);
  return ok;
}

}  // namespace

// The first free "<path>.<tag>-<n>" gets the file's bytes, unless an earlier copy holds
// exactly these bytes already (the same damaged sheet shown again, a second start).
CopyOutcome copyFileBeside(u16v path, u16v tag, u16& copy) {
  if (pathKind(path) != PathKind::File) return CopyOutcome::NoFile;
  std::string original;
  const bool comparable = readFileBytes(path, original, kMaxSheetFileBytes + 1) && original.size() <= kMaxSheetFileBytes;
  for (int n = 1; n <= kMaxDamagedCopies; ++n) {
    copy = fmt(u"%s.%s-%d", path, tag, n);
    const PathKind kind = pathKind(copy);
    if (kind == PathKind::Missing) return copyFile(path, copy) && flushCopy(copy) ? CopyOutcome::Made : CopyOutcome::Failed;
    std::string kept;
    if (comparable && kind == PathKind::File && readFileBytes(copy, kept, kMaxSheetFileBytes + 1) && kept == original)
      return CopyOutcome::KeptBefore;
  }
  setLastErrorCode(winerr::kFileExists);
  return CopyOutcome::Failed;
}

CopyOutcome copyDamagedFile(u16v path, u16& copy) { return copyFileBeside(path, u"damaged", copy); }

u16 damagedCopyPath(u16v path, int n) { return fmt(u"%s.damaged-%d", path, n); }

bool keepDamagedSheet(App& app, u16v path, DamagedSheetUse use) {
  TodoSheet& sheet = app.sheet;
  const bool savedOver = use == DamagedSheetUse::SavedOver;
  const bool toldBefore = sheet.damagedFileWithoutCopy == path;
  u16 copy;
  switch (copyDamagedFile(path, copy)) {
    case CopyOutcome::Made:
      logLine(u"Damaged sheet %s kept as %s", path, copy);
      if (savedOver) sheet.damagedFileWithoutCopy.clear();
      app.prompts.show(fmt(app.tr(Txt::SheetDamagedCopyKept), baseName(path), baseName(copy)),
                       app.tr(Txt::CaptionError), MsgButtons::Ok, MsgIcon::Exclamation);
      return true;
    case CopyOutcome::KeptBefore:
      logLine(u"Damaged sheet %s kept before as %s", path, copy);
      if (savedOver) sheet.damagedFileWithoutCopy.clear();
      return true;
    case CopyOutcome::NoFile:
      // Gone meanwhile: there is nothing left that a save could write over.
      if (savedOver) sheet.damagedFileWithoutCopy.clear();
      return true;
    case CopyOutcome::Failed: break;
  }
  logLastError(u"CopyFile");
  logLine(u"No copy of the damaged sheet %s, it is not saved over", path);
  if (savedOver) sheet.damagedFileWithoutCopy = path;
  if (!toldBefore)
    app.prompts.show(fmt(app.tr(Txt::SheetDamagedNoCopy), baseName(path)), app.tr(Txt::CaptionError), MsgButtons::Ok,
                     MsgIcon::Exclamation);
  return false;
}

bool keepDamagedSheetBeforeSave(App& app) {
  if (app.sheet.damagedFileWithoutCopy.empty()) return true;
  const u16 path = app.sheet.damagedFileWithoutCopy;
  if (keepDamagedSheet(app, path)) return true;
  logLine(u"Save ToDo sheet refused, %s is kept as it is", path);
  return false;
}

}  // namespace tirelmo
