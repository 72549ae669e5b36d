#include "web/web_command.h"

#include <string_view>

#include "base/log.h"
#include "web/url_query.h"
#include "web/web_config.h"

namespace tirelmo {

namespace {

constexpr std::size_t kCommandBytes = 3;
constexpr std::size_t kTargetBytes = 8;
constexpr std::size_t kDataStart = kCommandBytes + kTargetBytes;
constexpr std::size_t kTextMaxUnits = 511;
constexpr std::string_view kUrlMarker = "__URL__";

// Characters that do not show, or that turn the text around, let an address read as
// another one in the question.
bool isInvisibleOrControl(char16_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

std::string_view trimAscii(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return s;
}

}  // namespace

bool isOpenableWebAddress(u16v address) {
  for (char16_t c : address)
    if (isInvisibleOrControl(c)) return false;
  WebAddress parts;
  return parseWebAddress(utf16ToUtf8(address), parts);
}

void execWebCmd(const char* reply, std::size_t length, u16v userId, WebCommandActions& actions) {
  if (length == 0 || reply == nullptr) {
    logLine(u"%s datalen: 0", u"execWebCmd");
    return;
  }
  std::string_view all(reply, length);
  // The reply is a C string to the service: a zero byte ends it.
  if (const std::size_t nul = all.find('\0'); nul != std::string_view::npos) all = all.substr(0, nul);

  const std::string_view target = all.size() > kCommandBytes ? all.substr(kCommandBytes, kTargetBytes) : std::string_view();
  const u16 target16 = utf8ToUtf16(target);
  const bool forEveryone = target == "everyone";
  const bool forUs = !userId.empty() && target.size() == kTargetBytes && target16 == userId;
  if (!forEveryone && !forUs) {
    logLine(u"to %s", target16);
    return;
  }
  if (all.substr(0, kCommandBytes) != "001") {
    logLine(u"Wrong cmd!");
    return;
  }

  const std::string_view data = all.size() > kDataStart ? all.substr(kDataStart) : std::string_view();
  const std::size_t marker = data.find(kUrlMarker);
  const u16 text = utf8ToU16Cut(data.substr(0, marker), kTextMaxUnits);
  logLine(u"001 %s", text);
  if (marker == std::string_view::npos) {
    actions.showError(text);
    return;
  }
  // A cut address would lead somewhere else: a long one is refused, not shortened.
  const u16 address = utf8ToUtf16(trimAscii(data.substr(marker + kUrlMarker.size())));
  if (address.size() > kTextMaxUnits || !isOpenableWebAddress(address)) {
    logLine(u"Web command: address %s refused, only http and https pages are opened", address);
    actions.showError(text);
    return;
  }
  // The address is part of the question, so the user sees where Yes leads.
  if (actions.askYesNo(text + u"\n\n" + address)) actions.openAddress(address);
}

}  // namespace tirelmo
