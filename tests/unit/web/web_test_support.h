// What the web tests share: a log of their own to read back, and recorded command actions.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/log.h"
#include "support/fakes.h"
#include "web/web_command.h"

namespace tirelmo::test {

class WebLogTest : public ::testing::Test {
 protected:
  WebLogTest() { processLog().openIn(dir.path()); }
  void TearDown() override { processLog().closeOnFailedStart(); }
  std::string logText() { return fromLe(readBytes(dir.native() + "/Tirelmo_v2.3.3_log.txt")); }
  bool logged(const std::string& line) { return logText().find(line + "\r\n") != std::string::npos; }

  TempDir dir;
};

struct RecordedActions : WebCommandActions {
  std::vector<u16> errors, questions, opened;
  bool answerYes = true;
  void showError(u16v text) override { errors.emplace_back(text); }
  bool askYesNo(u16v text) override {
    questions.emplace_back(text);
    return answerYes;
  }
  void openAddress(u16v address) override { opened.emplace_back(address); }
  bool nothing() const { return errors.empty() && questions.empty() && opened.empty(); }
};

}  // namespace tirelmo::test
