// The workers' side of the daily web requests: no App in here, only values, the Http port
// and the log, so that each may run on its own thread. (The App side is web_notices.cpp.)
#include "web/web_client.h"

#include <cstdio>
#include <utility>

#include "base/log.h"
#include "web/url_query.h"
#include "web/web_command.h"

namespace tirelmo {

namespace {

// An address of this many units or more does not fit the request buffer and is not sent.
constexpr std::size_t kUrlLimit = 512;
constexpr std::size_t kPingReplyCap = 512;
constexpr std::size_t kPingReplyMax = 510;
constexpr std::size_t kPageReplyCap = 4096;
constexpr std::size_t kCountryMaxBytes = 31;
constexpr std::size_t kRegionMaxBytes = 63;
constexpr std::size_t kVersionMaxBytes = 16;
constexpr std::string_view kVersionMarker = "Current Version is ";

// One GET with our user agent and token. The reply may have been cut at cap (overflow): the
// callers decide whether that is an error.
int request(Http& http, const WebConfig& config, const std::string& url, std::size_t cap,
            HttpReply& reply) {
  HttpRequest req;
  req.url = url;
  req.cap = cap;
  req.userAgent = kWebUserAgent;
  req.token = config.token;
  reply = http.get(req);
  if (reply.error == kWebOpenFailed) {
    logLastError(u"InternetOpen");
    return kWebOpenFailed;
  }
  if (reply.error == kWebUrlFailed) {
    logLastError(u"InternetOpenUrl");
    return kWebUrlFailed;
  }
  if (reply.error == kWebReadFailed) {
    logLastError(u"InternetWriteFile");
    return kWebReadFailed;
  }
  if (reply.error != 0 || !reply.ok()) {
    // A page of an error is not data, whatever it says.
    logLine(u"InternetOpenUrl: HTTP status %d for %s", reply.status, utf8ToUtf16(url));
    return kWebUrlFailed;
  }
  return 0;
}

// The text after the marker up to the end mark, or empty when the marker is missing.
bool textAfter(std::string_view reply, std::string_view marker, std::string_view endMark,
               std::string& out) {
  const std::size_t at = reply.find(marker);
  if (at == std::string_view::npos) return false;
  std::string_view rest = reply.substr(at + marker.size());
  rest = rest.substr(0, rest.find(endMark));
  // Control characters would reach the log and the queries as they are.
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (static_cast<unsigned char>(rest[i]) < 0x20) {
      rest = rest.substr(0, i);
      break;
    }
  }
  out = std::string(rest);
  return true;
}

bool refuseLongUrl(const std::string& url, const char16_t* warning) {
  if (url.size() < kUrlLimit) return false;
  logLine(warning, url.size());
  return true;
}

std::string hex4(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%04X", value & 0xFFFFu);
  return buffer;
}

}  // namespace

int WebOpen(Http& http, const WebConfig& config, const std::string& url, std::size_t cap,
            std::string* reply, bool* overflow) {
  HttpReply got;
  const int result = request(http, config, url, cap, got);
  if (result != 0) return result;
  if (overflow) *overflow = got.overflow;
  if (got.overflow && !overflow) {
    // A cut reply parsed as a whole one would be wrong data; it is a failed read.
    logLine(u"Reply larger than %d bytes: %s", cap, utf8ToUtf16(url));
    return kWebReadFailed;
  }
  if (reply) *reply = std::move(got.body);
  return 0;
}

LocationResult parseLocationReply(std::string_view reply) {
  LocationResult result;
  std::string country, region;
  if (!textAfter(reply, "Country: <b>", "</b>", country)) {
    logLine(u"country search failed!");
    return result;
  }
  result.country = std::string(cutUtf8(country, kCountryMaxBytes));
  if (!textAfter(reply, "Region: <b>", "</b>", region)) {
    logLine(u"Region search failed!");
    return result;
  }
  result.region = std::string(cutUtf8(region, kRegionMaxBytes));
  logLine(u"Thr: Loc found.");
  return result;
}

LocationResult runLocationWorker(Http& http, const WebConfig& config) {
  logLine(u"Thr: loc");
  HttpReply reply;
  const int result = request(http, config, config.geoUrl, kPageReplyCap, reply);
  if (result == kWebReadFailed) {
    logLine(u"Err reading curver");
    logLine(u"Step 45..");
  }
  if (result != 0) return {};
  // A long page is searched in its first part, as far as it was read.
  return parseLocationReply(reply.body);
}

std::string buildPingUrl(const WebSnapshot& s) {
  std::string url = s.config.serviceBase + "/ping.php?ver=" + kProgramVersion;
  appendField(url, "build", "0");
  appendField(url, "rtl", "Y");
  appendTextField(url, "Country", s.country);
  appendTextField(url, "Region", s.region);
  appendTextField(url, "OS", s.osDescription);
  appendField(url, "usg", s.useCount);
  appendField(url, "Id", percentEncodeUtf8(s.config.userId));
  appendField(url, "prj", s.activeProjects);
  appendField(url, "tdl", s.todolists);
  appendField(url, "langid", hex4(s.uiLanguageId));
  appendTextField(url, "lang", s.languageName);
  appendTextField(url, "sk", s.skin);
  appendTextField(url, "fn", s.font);
  appendField(url, "sz", s.fontSize);
  if (refuseLongUrl(url, u"Warning: Ping() url required %d chars!")) return {};
  return url;
}

std::string buildVersionUrl(const WebSnapshot& s) {
  std::string url = s.config.serviceBase + "/curver.php?ver=" + kProgramVersion;
  appendTextField(url, "Country", s.country);
  appendTextField(url, "Region", s.region);
  appendTextField(url, "OS", s.osDescription);
  appendField(url, "usg", s.useCount);
  appendField(url, "Id", percentEncodeUtf8(s.config.userId));
  if (refuseLongUrl(url, u"Warning: url required %d chars!")) return {};
  return url;
}

void runPingWorker(Http& http, const WebSnapshot& s, WebCommandActions& actions) {
  const std::string url = buildPingUrl(s);
  if (url.empty()) return;
  logLine(u"Step 10..");
  logLine(u"20..");
  HttpReply reply;
  const int result = request(http, s.config, url, kPingReplyCap, reply);
  if (result == kWebOpenFailed || result == kWebUrlFailed) return;
  logLine(u"30..");
  logLine(u"40..");
  if (result == kWebReadFailed) {
    logLine(u" Err reading reply");
    logLine(u" 45..");
    return;
  }
  if (reply.body.size() > kPingReplyMax) {
    logLine(u"Buffer size too small: read %d bytes!", reply.body.size());
    return;
  }
  logLine(u"48.. read %d bytes. ", reply.body.size());
  execWebCmd(reply.body.data(), reply.body.size(), utf8ToUtf16(s.config.userId), actions);
  logLine(u"Step 50..");
  logLine(u" done.");
}

int compareVersions(std::string_view a, std::string_view b) {
  // Each run of digits is one part; everything between the runs is ignored.
  auto nextPart = [](std::string_view& s, unsigned long long& value) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] < '0' || s[i] > '9')) ++i;
    if (i == s.size()) {
      s = {};
      return false;
    }
    value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
      if (value < 1000000000ULL) value = value * 10 + static_cast<unsigned>(s[i] - '0');
    s.remove_prefix(i);
    return true;
  };
  for (;;) {
    unsigned long long x = 0, y = 0;
    const bool hasA = nextPart(a, x);
    const bool hasB = nextPart(b, y);
    if (!hasA && !hasB) return 0;
    // A missing part counts as 0: "v2.3" equals "v2.3.0".
    if (x != y) return x < y ? -1 : 1;
  }
}

VersionCheckResult runVersionCheck(Http& http, const WebSnapshot& s, WebState& state) {
  VersionCheckResult out;
  const std::string url = buildVersionUrl(s);
  if (url.empty()) return out;
  logLine(u"Thr: Checking for newer version..");
  state.versionCheckRunning = true;
  logLine(u"Step 10..");
  logLine(u"Step 20..");
  HttpReply reply;
  const int result = request(http, s.config, url, kPageReplyCap, reply);
  if (result == kWebReadFailed || result == 0) {
    logLine(u"Step 30..");
    logLine(u"Step 40..");
  }
  if (result == kWebReadFailed) {
    logLine(u"Err reading curver");
    logLine(u"Step 45..");
  } else if (result == 0) {
    logLine(u"Step 50..");
    const std::size_t at = reply.body.find(kVersionMarker);
    if (at == std::string::npos) {
      logLine(u"cur ver search failed!");
    } else {
      std::string_view rest = std::string_view(reply.body).substr(at + kVersionMarker.size());
      rest = rest.substr(0, rest.find_first_of(" <\r\n\t"));
      out.found = true;
      out.latest = std::string(cutUtf8(rest, kVersionMaxBytes));
      // exchange: the question is asked once per run, even with two checks racing.
      out.askToDownload = compareVersions(out.latest, kProgramVersion) > 0 &&
                          !state.newerVersionAsked.exchange(true);
    }
  }
  // The caller asks its question, pauses, logs "Thr: Chk ver done." and clears the running
  // flag: page switching stays off until then.
  return out;
}

}  // namespace tirelmo
