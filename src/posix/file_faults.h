// A disk that refuses: the native tests make the file port fail on purpose, the way a full
// disk or a removed drive does, to prove that a failed write never costs data in memory.
#pragma once

#include <string>

namespace tirelmo {

// Every open for writing, copy into and replace onto a path that contains `fragment`
// (backslashes as the core writes them) fails with "disk full" until this is called again
// with an empty fragment. Reading is never refused.
void refuseWritesTo(std::string fragment);

}  // namespace tirelmo
