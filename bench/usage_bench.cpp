// What one usage sample costs every five seconds: classifying the window in front (a
// browser tab whose address cannot be read, so its title is split) and crediting the name
// to a table that already holds a busy day.
#include <benchmark/benchmark.h>

#include "text/format.h"
#include "usage/classifier.h"
#include "usage/usage_table.h"

namespace tirelmo {
namespace {

// One browser window in front, owned by nothing.
class BrowserInFront : public WindowInspector {
 public:
  WindowId foreground() override { return 7; }
  u16 className(WindowId) override { return u"Chrome_WidgetWin_1"; }
  u16 title(WindowId) override { return u"Song - Video site - Google Chrome"; }
  WindowId parent(WindowId) override { return 0; }
  bool visible(WindowId) override { return true; }
  u16 processImageName(WindowId) override { return u"chrome.exe"; }
  bool addressBarText(WindowId, u16v, u16&) override { return false; }
};

void BM_UsageSample(benchmark::State& state) {
  BrowserInFront windows;
  UsageTable table;
  for (int i = 0; i < 200; ++i) addUsageTime(table, fmt(u"site%d.example", i), kUsageWeb);
  for (auto _ : state) {
    if (const std::optional<UsageCredit> credit = classifyForegroundWindow(windows))
      addUsageTime(table, credit->name, credit->kind);
    benchmark::DoNotOptimize(table.entries.data());
  }
}
BENCHMARK(BM_UsageSample);

}  // namespace
}  // namespace tirelmo
