// Which application or web site is in front: the ordered rules over the foreground
// window's class and title, the title splitter, and the reduction of a browser's address to
// the host that is stored.
#pragma once

#include <optional>

#include "platform/window_inspector.h"
#include "text/ustring.h"
#include "usage/usage_model.h"

namespace tirelmo {

struct App;

// The program's own main window class.
inline constexpr char16_t kMainWindowClass[] = u"Tirelmo";

struct TitleSplit {
  u16 app;       // the application name
  u16 document;  // the document or page part; may be empty
};
TitleSplit splitTitle(u16v title);

// What one sample credits: a name (never empty, at most 255 units, never ending in half a
// surrogate pair) and its kind. Nothing when the rules say so.
struct UsageCredit {
  u16 name;
  std::int32_t kind = kUsageApp;
};
std::optional<UsageCredit> classifyForegroundWindow(WindowInspector& windows);

// The host part of an address-bar text: scheme removed only at the start, then the text up
// to the first '/', '?', '#' (not counting a leading '/'), without "user:pw@" and without a
// port. At most `capacity` units (a surrogate pair is never split). False (out untouched)
// when nothing usable is left of a non-empty text; an empty text gives true and "".
bool reduceAddress(u16v value, std::size_t capacity, u16& out);

}  // namespace tirelmo
