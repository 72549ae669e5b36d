// Where the web services live: read from "web.cfg" beside the executable (bin\web.cfg), with
// built-in HTTPS defaults. Lines "key=value"; '#' starts a comment line; unknown keys are
// ignored. Keys: service= (base address of the maker's service, no trailing slash),
// geo= (the address of the geolocation page), id= (this installation's 8-character
// identifier), token= (sent as a bearer token with every request to the service).
#pragma once

#include <string>
#include <string_view>

#include "text/ustring.h"

namespace tirelmo {

// The maker's hosts are set for a release; until then the defaults stay in the reserved
// ".example" domain, so a build without web.cfg never sends anything to a stranger's host.
inline constexpr char kDefaultServiceBase[] = "https://service.tirelmo.example";
inline constexpr char kDefaultGeoUrl[] = "https://geo.tirelmo.example/ib1";
inline constexpr char kWebConfigFileName[] = "web.cfg";

struct WebConfig {
  std::string serviceBase = kDefaultServiceBase;
  std::string geoUrl = kDefaultGeoUrl;
  std::string userId;  // at most 8 characters; empty when none is known
  std::string token;
};

// Parses the text of a config file. A service or geo address that is not allowed
// (isAllowedServiceUrl) is logged and the default kept; an id longer than 8 is cut.
WebConfig parseWebConfig(std::string_view text);

// Reads <programFolder>\web.cfg; a missing file gives the defaults (logged once).
WebConfig readWebConfig(u16v programFolder);

// https:// anywhere; http:// only to a loopback host (127.x.x.x, localhost, [::1]).
bool isAllowedServiceUrl(std::string_view url);

// The parts of an absolute web address that the rules above look at. parseWebAddress is
// false for anything but "http://" or "https://" (any case) followed by a host, an optional
// numeric port and an optional path; blanks, control characters, backslashes and user
// information ("name@host") are refused, since they are how an address is made to look like
// another one.
struct WebAddress {
  bool https = false;
  std::string host;  // lower case; an IPv6 host keeps its brackets
};
bool parseWebAddress(std::string_view url, WebAddress& out);

}  // namespace tirelmo
