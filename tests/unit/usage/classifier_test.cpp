#include "usage/classifier.h"

#include <gtest/gtest.h>

#include "support/fake_windows.h"

namespace tirelmo {
namespace {

using test::FakeWindows;

struct Credited {
  u16 name;
  std::int32_t kind;
  bool operator==(const Credited&) const = default;
};
constexpr std::int32_t kNone = -1;

Credited sample(FakeWindows& w) {
  auto c = classifyForegroundWindow(w);
  return c ? Credited{c->name, c->kind} : Credited{u"", kNone};
}

Credited sampleOf(u16v cls, u16v title, std::optional<u16> address = std::nullopt) {
  FakeWindows w;
  w.address = address;
  w.show(cls, title);
  return sample(w);
}

constexpr u16v kChrome = u"Chrome_WidgetWin_1";
const Credited kNothing{u"", kNone};

TEST(Classifier, SitesKnownByTheirTitleNeedNoAddressBar) {
  FakeWindows w;
  w.address = u"https://www.youtube.com/watch?v=x";
  w.show(kChrome, u"Lofi Song - YouTube - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"YouTube - Lofi Song", kUsageWeb}));
  w.show(kChrome, u"Inbox (3) - jane.doe@gmail.com - Gmail - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"Inbox: jane.doe@gmail.com", kUsageMail}));
  w.show(kChrome, u"Mail - Jane Doe - Outlook - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"Mail - Jane Doe - Outlook", kUsageMail}));
  w.show(kChrome, u"Budget 2024 - Google Sheets - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"Google Sheets - Budget 2024", kUsageWeb}));
  EXPECT_TRUE(w.addressAsks.empty());
  // The same titles in a window of another class are ordinary browser pages.
  EXPECT_EQ(sampleOf(u"MozillaWindowClass", u"Lofi Song - YouTube - Brave", u"youtube.com"),
            (Credited{u"youtube.com - Lofi Song - YouTube", kUsageWeb}));
}

TEST(Classifier, BrowserPageIsCreditedToTheSiteInTheAddressBar) {
  FakeWindows w;
  w.address = u"https://docs.example.com/files/report.pdf?token=abc#page=2";
  w.show(kChrome, u"report.pdf - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"docs.example.com - report.pdf", kUsageWeb}));
  EXPECT_EQ(w.addressAsks, std::vector<u16>{u"Google Chrome"});

  w.address = u"https://github.com/pulls";
  w.show(kChrome, u"https://github.com/pulls - Personal - Microsoft Edge");
  EXPECT_EQ(sample(w), (Credited{u"github.com", kUsageWeb}));
  EXPECT_EQ(w.addressAsks.back(), u"Edge");

  w.address = u"";
  w.show(kChrome, u"New tab - Opera");
  EXPECT_EQ(sample(w), (Credited{u"Opera - new page", kUsageWeb}));

  // A page title alone names no site: the host without a dangling " - ".
  w.address = u"intranet/start";
  w.show(kChrome, u"Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"intranet", kUsageWeb}));

  // The page title is appended at most 64 units long, never half a surrogate pair.
  u16 longTitle = u16(63, u'a') + u"\U0001F600" + u"tail";
  w.address = u"example.com";
  w.show(kChrome, longTitle + u" - Google Chrome");
  EXPECT_EQ(sample(w), (Credited{u"example.com - " + u16(63, u'a'), kUsageWeb}));
}

TEST(Classifier, BrowserPageFallsBackToItsTitle) {
  // A pdf viewer tab is named by the file, without asking the address bar.
  FakeWindows w;
  w.address = u"https://example.com";
  w.show(kChrome, u"report.pdf and 3 more pages - Personal - Microsoft Edge");
  EXPECT_EQ(sample(w), (Credited{u"report.pdf ", kUsageWeb}));
  EXPECT_TRUE(w.addressAsks.empty());

  // No address bar to read (UI Automation missing): the page title, else the browser.
  EXPECT_EQ(sampleOf(u"MozillaWindowClass", u"Release notes - Firefox"),
            (Credited{u"Release notes", kUsageWeb}));
  EXPECT_EQ(sampleOf(u"MozillaWindowClass", u"Firefox"), (Credited{u"Firefox", kUsageWeb}));
  // An address bar holding nothing of a host is no better than a failed read.
  EXPECT_EQ(sampleOf(u"MozillaWindowClass", u"Search - Firefox", u"?q=secret"),
            (Credited{u"Search", kUsageWeb}));
}

TEST(Classifier, DesktopApplications) {
  EXPECT_EQ(sampleOf(u"HwndWrapper[DefaultDomain;;1f2e]",
                     u"Tirelmo (Running) - Microsoft Visual Studio"),
            (Credited{u"Microsoft Visual Studio - Tirelmo", kUsageWeb}));
  EXPECT_EQ(sampleOf(u"CabinetWClass", u"Downloads"),
            (Credited{u"File Explorer - Downloads", kUsageApp}));
  EXPECT_EQ(sampleOf(u"ApplicationFrameWindow", u"Calculator"),
            (Credited{u"Calculator", kUsageApp}));
  EXPECT_EQ(sampleOf(u"Windows.UI.Core.CoreWindow", u"Calculator"), kNothing);
  EXPECT_EQ(sampleOf(u"ConsoleWindowClass", u"C:\\Windows\\system32\\cmd.exe"),
            (Credited{u"C:\\Windows\\system32\\cmd.exe", kUsageApp}));
  EXPECT_EQ(sampleOf(u"Notepad", u"notes.txt - Notepad"), (Credited{u"Notepad", kUsageApp}));
  EXPECT_EQ(sampleOf(u"SunAwtFrame", u"tirelmo-android \u2013 MainActivity.kt"),
            (Credited{u"Android Studio - tirelmo-android", kUsageApp}));
  EXPECT_EQ(sampleOf(u"ZPFloatToolbarClass", u""), (Credited{u"Zoom", kUsageApp}));
  EXPECT_EQ(sampleOf(u"WindowsForms10.Window.8.app.0.2bf8098_r6_ad1", u"Song - MusicBee"),
            kNothing);
  // The desktop, an untitled window, an unreadable class and a locked screen credit nothing.
  EXPECT_EQ(sampleOf(u"Progman", u"Program Manager"), kNothing);
  EXPECT_EQ(sampleOf(u"Shell_TrayWnd", u""), kNothing);
  EXPECT_EQ(sampleOf(u"ApplicationFrameWindow", u""), kNothing);
  EXPECT_EQ(sampleOf(u"", u"Secret - Notepad"), kNothing);
  FakeWindows none;
  EXPECT_EQ(sample(none), kNothing);
}

TEST(Classifier, DialogsAreCreditedToTheirOwner) {
  FakeWindows w;
  WindowId main = w.show(kMainWindowClass, u"Tirelmo - Monday");
  EXPECT_EQ(sample(w), (Credited{u"Tirelmo", kUsageApp}));
  w.show(u"#32770", u"Help", main);
  EXPECT_EQ(sample(w), (Credited{u"Tirelmo", kUsageApp}));

  WindowId editor = w.show(u"Notepad", u"100% done - Notepad");
  w.show(u"#32770", u"Save As", editor);
  EXPECT_EQ(sample(w), (Credited{u"100% done - Notepad", kUsageApp}));
  WindowId untitled = w.show(u"Shell_TrayWnd", u"");
  w.show(u"#32770", u"Properties", untitled);
  EXPECT_EQ(sample(w), kNothing);
}

TEST(Classifier, TitlesAreTakenAsPlainText) {
  EXPECT_EQ(sampleOf(u"CabinetWClass", u"100%s %d%n"),
            (Credited{u"File Explorer - 100%s %d%n", kUsageApp}));
  EXPECT_EQ(sampleOf(kChrome, u"50%s off - YouTube - Google Chrome"),
            (Credited{u"YouTube - 50%s off", kUsageWeb}));
}

TEST(Classifier, NamesAreCutTo255UnitsWithoutSplittingAPair) {
  // "File Explorer - " is 16 units: the pair would straddle units 254 and 255.
  u16 title = u16(238, u'a') + u"\U0001F600" + u16(10, u'b');
  Credited c = sampleOf(u"CabinetWClass", title);
  EXPECT_EQ(c.name, u"File Explorer - " + u16(238, u'a'));
  c = sampleOf(u"ApplicationFrameWindow", u16(300, u'x'));
  EXPECT_EQ(c.name, u16(255, u'x'));
}

TEST(TitleSplitter, FirstWordOfTheListWins) {
  TitleSplit s = splitTitle(u"Opera vs Edge - a review - Google Chrome");
  EXPECT_EQ(s.app, u"Google Chrome");
  s = splitTitle(u"Opera vs Edge");
  EXPECT_EQ(s.app, u"Edge");
  EXPECT_EQ(s.document, u"Opera vs");
  s = splitTitle(u"Edge");
  EXPECT_EQ(s.app, u"Edge");
  EXPECT_EQ(s.document, u"");
}

TEST(TitleSplitter, TrimsOnlyTheJoinerBeforeTheWord) {
  EXPECT_EQ(splitTitle(u"Song - Firefox").document, u"Song");
  EXPECT_EQ(splitTitle(u"Song- Firefox").document, u"Song");
  EXPECT_EQ(splitTitle(u"Song-Firefox").document, u"Song-");
  EXPECT_EQ(splitTitle(u"- Firefox").document, u"");
}

TEST(TitleSplitter, WithoutAWordTheAppFollowsTheFirstJoiner) {
  TitleSplit s = splitTitle(u"notes.txt - draft - Notepad++");
  EXPECT_EQ(s.app, u"draft - Notepad++");
  EXPECT_EQ(s.document, u"");
  EXPECT_EQ(splitTitle(u"Calculator").app, u"Calculator");
  EXPECT_EQ(splitTitle(u"notes -Notepad").app, u"notes -Notepad");
}

u16 reduced(u16v address, std::size_t capacity = 127) {
  u16 out = u"untouched";
  return reduceAddress(address, capacity, out) ? out : u"failed:" + out;
}

TEST(ReduceAddress, KeepsOnlyTheHost) {
  EXPECT_EQ(reduced(u"https://www.youtube.com/watch?v=abc"), u"www.youtube.com");
  EXPECT_EQ(reduced(u"HTTP://Example.com/"), u"Example.com");
  EXPECT_EQ(reduced(u"intranet"), u"intranet");
  EXPECT_EQ(reduced(u"localhost:8080/app"), u"localhost");
  EXPECT_EQ(reduced(u"https://[::1]:8443/x"), u"[::1]");
}

TEST(ReduceAddress, StoresNoSecrets) {
  // A scheme inside the query is not one: the host is the site, not the redirect target.
  EXPECT_EQ(reduced(u"bank.example/login?next=https://evil.example/x"), u"bank.example");
  EXPECT_EQ(reduced(u"https://mail.example/?u=http://other.example"), u"mail.example");
  EXPECT_EQ(reduced(u"app.example#access_token=abc"), u"app.example");
  EXPECT_EQ(reduced(u"https://jane:s3cr@t@mail.example.com:8443/inbox"), u"mail.example.com");
}

TEST(ReduceAddress, StaysWithinCapacity) {
  EXPECT_EQ(reduced(u"https://" + u16(300, u'h') + u"/path"), u16(127, u'h'));
  EXPECT_EQ(reduced(u16(126, u'h') + u"\U0001F600.example"), u16(126, u'h'));
  EXPECT_EQ(reduced(u"example.com", 7), u"example");
}

TEST(ReduceAddress, EmptyIsSuccessAndNothingUsableLeavesTheOutputAlone) {
  EXPECT_EQ(reduced(u""), u"");
  EXPECT_EQ(reduced(u"https://"), u"failed:untouched");
  EXPECT_EQ(reduced(u"?q=1"), u"failed:untouched");
  EXPECT_EQ(reduced(u":8080"), u"failed:untouched");
}

}  // namespace
}  // namespace tirelmo
