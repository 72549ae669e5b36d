#include "usage/classifier.h"

#include <array>

#include "text/format.h"

namespace tirelmo {

namespace {

constexpr u16v kNoText;

// Room for the address bar's host: a 128-unit buffer with its terminating NUL.
constexpr std::size_t kAddressCapacity = 127;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// At most `units` units of `s`; a high surrogate left at the end without its partner is
// dropped, so a cut name never ends in half a character.
u16v cutUnits(u16v s, std::size_t units) {
  if (s.size() <= units) return s;
  std::size_t n = units;
  if (n > 0 && isHighSurrogate(s[n - 1])) --n;
  return s.substr(0, n);
}

bool contains(u16v text, u16v part) { return text.find(part) != u16v::npos; }

// The text before the first occurrence of `mark` (the whole text when there is none).
u16v before(u16v text, u16v mark) { return text.substr(0, text.find(mark)); }

// ---------------------------------------------------------------------------------------
// The title splitter.

// First match wins, so the order matters: a title naming both Edge and Opera is Edge's.
constexpr std::array<u16v, 10> kSplitWords = {
    u"Internet Explorer", u"Google Chrome",  u"Firefox",
    u"Brave",             u"Edge",           u"Opera",
    u"LibreOffice Writer", u"Microsoft Visual Studio", u"Android Studio",
    u"Inno Setup Compiler"};

constexpr std::array<u16v, 6> kBrowsers = {u"Google Chrome", u"Brave", u"Firefox",
                                           u"Edge", u"Opera", u"Internet Explorer"};

struct SplitView {
  u16v app;
  u16v document;
};

// Drops the " - " (or "- ", or a lone trailing blank) that joins a page title to the
// application's name; a hyphen without a blank after it belongs to the page title.
u16v trimJoiner(u16v d) {
  if (d.empty() || d.back() != u' ') return d;
  d.remove_suffix(1);
  if (d.empty() || d.back() != u'-') return d;
  d.remove_suffix(1);
  if (!d.empty() && d.back() == u' ') d.remove_suffix(1);
  return d;
}

SplitView splitView(u16v title) {
  for (u16v word : kSplitWords) {
    std::size_t at = title.find(word);
    if (at != u16v::npos) return {word, trimJoiner(title.substr(0, at))};
  }
  std::size_t dash = title.find(u" - ");
  if (dash != u16v::npos) return {title.substr(dash + 3), kNoText};
  return {title, kNoText};
}

// ---------------------------------------------------------------------------------------
// The rule table.

enum class ClassTest : std::uint8_t { Equals, StartsWith, OneOf, HasParent, Always };

enum class Naming : std::uint8_t {
  Fixed,          // `text` itself
  FormatTitle,    // `text` with the title for %s ("" for the title as it is)
  FormatBefore,   // `text` with the title before the matched title text
  CutAfterMatch,  // the title up to and including the matched title text
  WebMail,        // the inbox of the mail address in the title
  VisualStudio,   // the solution name, without " (Running)" and the like
  AndroidStudio,  // the project name before " – "
  Parent,         // a dialog is credited to the window that owns it
  Nothing,        // the sample ends without a credit
  Split,          // the title splitter and the browser step
};

struct Rule {
  ClassTest classTest;
  u16v classText;
  u16v titleContains;  // empty: the title is not tested
  Naming naming;
  u16v text;
  std::int32_t kind;
};

// The marker of a signed-in web-mail tab: the at-sign and the service's mail domain.
constexpr u16v kWebMailMarker = u"@gmail.com";
static_assert(kWebMailMarker.size() == 10);

constexpr u16v kChrome = u"Chrome_WidgetWin_1";

// The meeting client's floating windows all count as the client itself.
constexpr std::array<u16v, 12> kMeetingClasses = {
    u"InviteToJoinWndCls",          u"zJoinAudioWndClass",  u"zLeaveWndClass",
    u"ZoomAnnotationMsgWndWinXP",   u"ZPContentViewWndClass", u"ZPFloatControlPanelMgrClass",
    u"ZPFloatToolbarClass",         u"ZPFTEWndClass",       u"ZPSelAppWndClass",
    u"ZPToolBarParentWndClass",     u"ZPVideoScrollBtnClass", u"zWaitHostWndClass"};

using enum ClassTest;
using enum Naming;

// First match decides.
constexpr std::array<Rule, 28> kRules = {{
    {Equals, kChrome, kWebMailMarker, WebMail, u"Inbox: %s", kUsageMail},
    {Equals, kChrome, u"Outlook", CutAfterMatch, kNoText, kUsageMail},
    {Equals, kChrome, u" - YouTube", FormatBefore, u"YouTube - %s", kUsageWeb},
    {Equals, kChrome, u"LinkedIn", FormatBefore, u"LinkedIn - %s", kUsageWeb},
    {Equals, kChrome, u"Facebook", Fixed, u"Facebook", kUsageWeb},
    {Equals, kChrome, u"Instagram", Fixed, u"Instagram", kUsageWeb},
    {Equals, kChrome, u"Google Maps", Fixed, u"Google Maps", kUsageWeb},
    {Equals, kChrome, u"Google Cloud Platform", Fixed, u"Google Cloud Platform", kUsageWeb},
    {Equals, kChrome, u"Google Drive", Fixed, u"Google Drive", kUsageWeb},
    {Equals, kChrome, u" - Google Docs", FormatBefore, u"Google Docs - %s", kUsageWeb},
    {Equals, kChrome, u" - Google Sheets", FormatBefore, u"Google Sheets - %s", kUsageWeb},
    {Equals, kChrome, u" - Google Slides", FormatBefore, u"Google Slides - %s", kUsageWeb},
    {Equals, kChrome, u"Google Calendar", Fixed, u"Google Calendar", kUsageWeb},
    {StartsWith, u"HwndWrapper", u" - Microsoft Visual Studio", VisualStudio,
     u"Microsoft Visual Studio - %s", kUsageWeb},
    {Equals, u"CabinetWClass", kNoText, FormatTitle, u"File Explorer - %s", kUsageApp},
    {Equals, u"ApplicationFrameWindow", kNoText, FormatTitle, kNoText, kUsageApp},
    {Equals, u"TaskManagerWindow", kNoText, FormatTitle, u"Task Manager - %s", kUsageApp},
    {Equals, kMainWindowClass, kNoText, Fixed, u"Tirelmo", kUsageApp},
    {StartsWith, u"WindowsForms10", u" - MusicBee", Nothing, kNoText, kUsageApp},
    {Equals, u"SunAwtFrame", kNoText, AndroidStudio, u"Android Studio - %s", kUsageApp},
    {Equals, u"SALFRAME", u" - OpenOffice Writer", FormatBefore, u"OpenOffice Writer - %s",
     kUsageApp},
    {Equals, u"SALFRAME", u" - OpenOffice Calc", FormatBefore, u"OpenOffice Calc - %s",
     kUsageApp},
    {Equals, u"SALFRAME", u" - OpenOffice Impress", FormatBefore, u"OpenOffice Impress - %s",
     kUsageApp},
    {OneOf, kNoText, kNoText, Fixed, u"Zoom", kUsageApp},
    {Equals, u"ZPAnnotatePanelClass", u"Annotation tools", Fixed, u"Zoom Annotation Tool",
     kUsageApp},
    {Equals, u"Windows.UI.Core.CoreWindow", kNoText, Nothing, kNoText, kUsageApp},
    {HasParent, kNoText, kNoText, Parent, kNoText, kUsageApp},
    {Always, kNoText, kNoText, Split, kNoText, kUsageApp},
}};

bool classMatches(const Rule& r, u16v cls, WindowId parent) {
  switch (r.classTest) {
    case Equals: return cls == r.classText;
    case StartsWith: return startsWith(cls, r.classText);
    case OneOf:
      for (u16v c : kMeetingClasses)
        if (cls == c) return true;
      return false;
    case HasParent: return parent != 0;
    case Always: return true;
  }
  return false;
}

// The credit, or nothing when the name is empty (a blank title credits no one).
std::optional<UsageCredit> credit(u16v name, std::int32_t kind) {
  name = cutUnits(name, kUsageNameMaxUnits);
  if (name.empty()) return std::nullopt;
  return UsageCredit{u16(name), kind};
}

std::optional<UsageCredit> creditFormatted(u16v format, u16v piece, std::int32_t kind) {
  // fmt takes '%' inside the piece as a plain character, so a title with "%s" stays as it is.
  if (format.empty()) return credit(piece, kind);
  return credit(fmt(format, piece), kind);
}

// Where the browser is in front: the site from the address bar when it can be read, the page
// title otherwise.
std::optional<UsageCredit> creditBrowserPage(WindowInspector& windows, WindowId w,
                                             SplitView split) {
  u16v page = split.document.empty() ? split.app : split.document;
  if (std::size_t pdf = split.document.find(u".pdf "); pdf != u16v::npos)
    return credit(split.document.substr(0, pdf + 5), kUsageWeb);

  u16 raw;
  if (!windows.addressBarText(w, split.app, raw)) return credit(page, kUsageWeb);
  u16 site;
  if (!reduceAddress(raw, kAddressCapacity, site)) return credit(page, kUsageWeb);
  if (site.empty()) return creditFormatted(u"%s - new page", split.app, kUsageWeb);

  constexpr std::size_t kPieceUnits = 64;
  if (split.document.empty() || contains(split.document, u"https://") ||
      contains(split.document, u"http://"))
    return credit(site, kUsageWeb);
  site += u" - ";
  site += cutUnits(split.document, kPieceUnits);
  return credit(site, kUsageWeb);
}

std::optional<UsageCredit> creditSplit(WindowInspector& windows, WindowId w, u16v title) {
  SplitView split = splitView(title);
  for (u16v browser : kBrowsers)
    if (split.app == browser) return creditBrowserPage(windows, w, split);
  if (split.app.empty() || split.app == u"Program Manager") return std::nullopt;
  return credit(split.app, kUsageApp);
}

std::optional<UsageCredit> applyRule(const Rule& r, WindowInspector& windows, WindowId w,
                                     u16v title, WindowId parent) {
  switch (r.naming) {
    case Fixed: return credit(r.text, r.kind);
    case FormatTitle: return creditFormatted(r.text, title, r.kind);
    case FormatBefore: return creditFormatted(r.text, before(title, r.titleContains), r.kind);
    case CutAfterMatch:
      return credit(title.substr(0, title.find(r.titleContains) + r.titleContains.size()),
                    r.kind);
    case WebMail: {
      u16v cut = title.substr(0, title.find(kWebMailMarker) + kWebMailMarker.size());
      std::size_t count = cut.find(u") - ");
      if (count == u16v::npos) return credit(cut, r.kind);
      return creditFormatted(r.text, cut.substr(count + 4), r.kind);
    }
    case VisualStudio:
      return creditFormatted(r.text, before(before(title, r.titleContains), u" ("), r.kind);
    case AndroidStudio: return creditFormatted(r.text, before(title, u" \u2013 "), r.kind);
    case Parent: {
      if (windows.className(parent) == kMainWindowClass) return credit(u"Tirelmo", r.kind);
      u16 parentTitle = windows.title(parent);
      return credit(parentTitle, r.kind);
    }
    case Nothing: return std::nullopt;
    case Split: return creditSplit(windows, w, title);
  }
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------
// Address reduction.

bool startsWithNoCase(u16v text, u16v prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

TitleSplit splitTitle(u16v title) {
  SplitView v = splitView(title);
  return {u16(cutUnits(v.app, kUsageNameMaxUnits)), u16(cutUnits(v.document, kUsageNameMaxUnits))};
}

std::optional<UsageCredit> classifyForegroundWindow(WindowInspector& windows) {
  WindowId w = windows.foreground();
  if (w == 0) return std::nullopt;
  u16 cls = windows.className(w);
  if (cls.empty()) return std::nullopt;
  u16 title = windows.title(w);
  // The parent is asked for only by the windows that get as far as the rule about it.
  WindowId parent = 0;
  bool parentRead = false;
  for (const Rule& r : kRules) {
    if (r.classTest == HasParent && !parentRead) {
      parent = windows.parent(w);
      parentRead = true;
    }
    if (!classMatches(r, cls, parent)) continue;
    if (!r.titleContains.empty() && !contains(title, r.titleContains)) continue;
    return applyRule(r, windows, w, title, parent);
  }
  return std::nullopt;
}

bool reduceAddress(u16v value, std::size_t capacity, u16& out) {
  if (value.empty()) {
    out.clear();
    return true;
  }
  // Only a scheme at the start is one; "https://" further on is part of a query.
  for (u16v scheme : {u16v(u"https://"), u16v(u"http://")}) {
    if (startsWithNoCase(value, scheme)) {
      value.remove_prefix(scheme.size());
      break;
    }
  }
  // The path, the query and the fragment may hold what the user typed or was sent: never
  // kept. A leading '/' is not taken as the end of an empty host.
  std::size_t end = value.find_first_of(u"/?#", value.starts_with(u'/') ? 1 : 0);
  u16v host = value.substr(0, end);
  // Credentials are dropped; the last '@' ends them, as a password may hold one too.
  if (std::size_t at = host.rfind(u'@'); at != u16v::npos) host.remove_prefix(at + 1);
  // The port goes; a bracketed IPv6 literal keeps its own colons.
  std::size_t portFrom = 0;
  if (host.starts_with(u'[')) {
    std::size_t close = host.find(u']');
    portFrom = close == u16v::npos ? host.size() : close + 1;
  }
  host = host.substr(0, host.find(u':', portFrom));
  host = cutUnits(host, capacity);
  if (host.empty()) return false;
  out.assign(host);
  return true;
}

}  // namespace tirelmo
