// The prompts port: message boxes and questions with fixed buttons.
#pragma once

#include "text/ustring.h"

namespace tirelmo {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class MsgIcon { None, Information, Warning, Exclamation, Error, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // Shows the text with the caption and waits for the answer.
  virtual MsgAnswer show(u16v text, u16v caption, MsgButtons buttons, MsgIcon icon) = 0;
};

}  // namespace tirelmo
