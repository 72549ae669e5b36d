// Whatever a network answers: random bytes as a sheet download, a location page, a ping
// reply with a web command, and a web.cfg. Nothing may read past the bytes, a sheet takes a
// reply only whole and valid, and a command never opens anything but an http(s) address.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_input_file.h"
#include "sheet/sheet.h"
#include "web/cloud_client.h"
#include "web/web_client.h"
#include "web/web_command.h"
#include "web/web_config.h"

using namespace tirelmo;
using fuzz::require;

namespace {

struct CheckedActions : WebCommandActions {
  void showError(u16v) override {}
  bool askYesNo(u16v) override { return true; }
  void openAddress(u16v address) override {
    require(isOpenableWebAddress(address), "a web command opened an address that is not http(s)");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so AddressSanitizer sees any read past the end.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view reply(bytes);

  TodoSheet sheet{kSheetRows};
  sheet.rows[3].text = u"kept";
  CloudTimestamp stamp;
  if (parseCloudSheet(reply, sheet, stamp) == 0) {
    for (const TodoRow& row : sheet.rows) {
      require(row.text.size() <= 179, "a downloaded text longer than a row holds");
      require(row.text.find_first_of(u"\r\n") == u16::npos, "a line break in a downloaded text");
      require(row.info.category <= 12, "a downloaded category out of range");
    }
  } else {
    require(sheet.rows[3].text == u"kept", "a failed download changed the sheet");
  }

  const LocationResult where = parseLocationReply(reply);
  require(where.country.size() <= 31 && where.region.size() <= 63, "a location text over its buffer");

  CheckedActions actions;
  execWebCmd(bytes.data(), bytes.size(), u"abcd1234", actions);
  execWebCmd(bytes.data(), bytes.size(), u"", actions);

  const WebConfig config = parseWebConfig(reply);
  require(isAllowedServiceUrl(config.serviceBase) && isAllowedServiceUrl(config.geoUrl),
          "web.cfg let a refused address through");
  require(config.token.find_first_of("\r\n") == std::string::npos, "a line break in the token");
  return 0;
}
