#include "web/web_config.h"

#include <cstddef>

#include "base/log.h"
#include "platform/file.h"
#include "storage/file_tools.h"

namespace tirelmo {

namespace {

// A config file is a handful of short lines; anything much bigger is not one.
constexpr std::uint32_t kConfigMaxBytes = 64 * 1024;
constexpr std::size_t kUserIdMaxChars = 8;

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (lowerAscii(s[i]) != prefix[i]) return false;
  return true;
}

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// 127.x.x.x written as four plain decimal parts; other spellings (octal, hex, fewer parts)
// are refused rather than guessed at.
bool isLoopbackIpv4(std::string_view host) {
  int parts = 0;
  std::size_t start = 0;
  while (start <= host.size()) {
    std::size_t dot = host.find('.', start);
    if (dot == std::string_view::npos) dot = host.size();
    const std::string_view part = host.substr(start, dot - start);
    if (!allDigits(part) || part.size() > 3 || std::stoi(std::string(part)) > 255) return false;
    if (parts == 0 && part != "127") return false;
    ++parts;
    start = dot + 1;
  }
  return parts == 4;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool hasBlankOrControl(std::string_view s) {
  for (unsigned char c : s)
    if (c <= 0x20 || c == 0x7F) return true;
  return false;
}

// The first maxChars characters of a UTF-8 text.
std::string firstChars(std::string_view s, std::size_t maxChars) {
  std::size_t chars = 0, i = 0;
  for (; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (chars == maxChars) break;
    ++chars;
  }
  return std::string(s.substr(0, i));
}

void takeAddress(std::string_view key, std::string_view value, std::string& target) {
  std::string url(value);
  while (url.size() > 1 && url.back() == '/' && url[url.size() - 2] != '/') url.pop_back();
  if (!isAllowedServiceUrl(url)) {
    logLine(u"web.cfg: %s=%s is not allowed (https, or http to this computer only); using %s",
            utf8ToUtf16(key), utf8ToUtf16(url), utf8ToUtf16(target));
    return;
  }
  target = url;
}

}  // namespace

bool parseWebAddress(std::string_view url, WebAddress& out) {
  out = WebAddress{};
  std::size_t rest;
  if (startsWithNoCase(url, "https://")) {
    out.https = true;
    rest = 8;
  } else if (startsWithNoCase(url, "http://")) {
    rest = 7;
  } else {
    return false;
  }
  for (unsigned char c : url)
    if (c <= 0x20 || c == 0x7F || c == '\\') return false;
  const std::size_t end = url.find_first_of("/?#", rest);
  const std::string_view authority =
      url.substr(rest, end == std::string_view::npos ? std::string_view::npos : end - rest);
  if (authority.empty() || authority.find('@') != std::string_view::npos) return false;
  std::string_view host = authority, port;
  if (authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return false;
    host = authority.substr(0, close + 1);
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return false;
      port = after.substr(1);
      if (!allDigits(port)) return false;
    }
  } else if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
    if (!allDigits(port)) return false;
  }
  if (host.empty() || host == "[]") return false;
  out.host = lowerAscii(host);
  return true;
}

bool isAllowedServiceUrl(std::string_view url) {
  WebAddress address;
  if (!parseWebAddress(url, address)) return false;
  if (address.https) return true;
  return address.host == "localhost" || address.host == "[::1]" || isLoopbackIpv4(address.host);
}

WebConfig parseWebConfig(std::string_view text) {
  WebConfig config;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    if (eol == std::string_view::npos) eol = text.size();
    const std::string_view line = trim(text.substr(0, eol));
    text.remove_prefix(eol < text.size() ? eol + 1 : eol);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string key = lowerAscii(trim(line.substr(0, eq)));
    const std::string_view value = trim(line.substr(eq + 1));
    if (key == "service") {
      takeAddress(key, value, config.serviceBase);
    } else if (key == "geo") {
      takeAddress(key, value, config.geoUrl);
    } else if (key == "id") {
      // The id goes into addresses (encoded) and is compared with the commands' target.
      if (hasBlankOrControl(value)) {
        logLine(u"web.cfg: id with blanks or control characters ignored");
        continue;
      }
      config.userId = firstChars(value, kUserIdMaxChars);
    } else if (key == "token") {
      // Sent in a request header: a line break would add headers of its own.
      if (hasBlankOrControl(value)) {
        logLine(u"web.cfg: token with blanks or control characters ignored");
        continue;
      }
      config.token = std::string(value);
    }
  }
  return config;
}

WebConfig readWebConfig(u16v programFolder) {
  const u16 path = joinPath(programFolder, widenLatin1(kWebConfigFileName));
  if (pathKind(path) != PathKind::File) {
    logLine(u"%s not found, using the built-in web services", path);
    return WebConfig{};
  }
  std::string bytes;
  if (!readFileBytes(path, bytes, kConfigMaxBytes)) {
    logLastError(path);
    logLine(u"%s not read, using the built-in web services", path);
    return WebConfig{};
  }
  return parseWebConfig(bytes);
}

}  // namespace tirelmo
