// The project lists: active and closed projects with the time worked on them.
#pragma once

#include <cstdint>
#include <vector>

#include "text/ustring.h"

namespace tirelmo {

inline constexpr std::size_t kProjectNameCapacity = 128;  // units, NUL included

enum ProjectStatus : std::uint32_t {
  kProjectNotStarted = 0,
  kProjectInProgress = 1,
  kProjectSuspended = 2,
  kProjectClosed = 3,
};

struct Project {
  std::int32_t id = 0;
  u16 name;
  std::uint32_t workedHours = 0;
  std::uint32_t workedMinutes = 0;  // 0..59
  std::uint32_t status = kProjectNotStarted;
  std::int32_t deadlineYear = 0;  // 0: no deadline
  std::int32_t deadlineMonth = 0;
  std::int32_t deadlineDay = 0;
  std::uint16_t minutesToday = 0;  // since the lists were loaded; never stored
  bool operator==(const Project&) const = default;
};

struct ProjectStore {
  std::vector<Project> active;
  std::vector<Project> closed;
  // The project whose report is on display; its minutes today are mirrored there.
  std::int32_t reportProjectId = 0;
  std::uint16_t reportMinutesToday = 0;
};

}  // namespace tirelmo
