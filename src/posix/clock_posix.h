#pragma once

#include "platform/clock.h"

namespace tirelmo {

// The machine's local time.
class PosixClock : public Clock {
 public:
  LocalTime now() const override;
};

}  // namespace tirelmo
