#include "app/export_command.h"

#include "app/app.h"
#include "app/sheet_io.h"
#include "base/log.h"
#include "export/data_export.h"
#include "platform/file.h"
#include "storage/file_tools.h"
#include "text/format.h"

namespace tirelmo {

namespace {

// Ten files dropped loose into Documents would mix with the person's own and replace those
// of an earlier export: each export gets a folder of its own, named by the day.
u16 exportFolderIn(u16v chosen, const DayDate& today) {
  if (pathKind(chosen) == PathKind::Missing) createDirectory(chosen);  // a failure is the export's to report
  const u16 base = joinPath(chosen, fmt(u"Tirelmo export %d-%02d-%02d", today.year, today.month, today.day0 + 1));
  u16 folder = base;
  for (int n = 2; pathKind(folder) != PathKind::Missing && n < 1000; ++n) folder = fmt(u"%s (%d)", base, n);
  return folder;
}

}  // namespace

bool runExportCommand(App& app, const std::function<bool(u16& folder)>& chooseFolder) {
  logLine(u"%s()", u"runExportCommand");
  SaveAllSheets(app);
  u16 folder;
  if (!chooseFolder(folder) || folder.empty()) return false;

  ExportRequest rq;
  rq.dataDir = app.start.userDataDir;
  folder = exportFolderIn(folder, app.start.today);
  rq.outDir = folder;
  rq.categoryNames = app.settings.categories;
  const ExportResult r = exportUserData(rq);  // every damaged file is logged on the way
  const ExportCounts& c = r.counts;
  u16 text;
  MsgIcon icon = MsgIcon::Information;
  switch (r.status) {
    case ExportStatus::Ok:
      text = fmt(app.tr(Txt::ExportDone), folder, c.sheets, static_cast<int>(c.sheetRows),
                 static_cast<int>(c.archiveRows), c.monthDays, c.projects, c.usageEntries);
      if (c.damagedFiles > 0) text += fmt(app.tr(Txt::ExportDamaged), c.damagedFiles);
      break;
    case ExportStatus::NothingToExport:
    case ExportStatus::NoDataFolder:
      text = fmt(app.tr(Txt::ExportNothing), app.start.userDataDir);
      icon = MsgIcon::Exclamation;
      break;
    case ExportStatus::OutputInsideData:
      text = fmt(app.tr(Txt::ExportInsideData), app.start.userDataDir);
      icon = MsgIcon::Exclamation;
      break;
    case ExportStatus::OutputNotWritable:
    case ExportStatus::WriteFailed:
      text = fmt(app.tr(Txt::ExportFailed), folder);
      icon = MsgIcon::Error;
      break;
  }
  app.prompts.show(text, app.tr(Txt::CaptionVersion), MsgButtons::Ok, icon);
  return r.status == ExportStatus::Ok;
}

}  // namespace tirelmo
