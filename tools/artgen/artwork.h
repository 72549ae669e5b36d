// The generated resources and the driver that writes them.
#pragma once

#include "bytes.h"
#include "canvas.h"
#include "sound.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace artgen {

// Icons (art_icons.cpp). `size` is the edge in pixels.
Canvas drawTomato(int size);
Canvas drawVornelIcon(int size);

// Sounds (art_sounds.cpp).
Pcm makeTickSound();
Pcm makeBellSound();

struct ArtFile {
    std::string name;
    std::function<Bytes()> make;
};

// Every file artgen writes, in the order it writes them. The build lists the
// same names (ARTGEN_FILES in cmake/Artgen.cmake).
const std::vector<ArtFile>& artFiles();

// Generates every file into outdir (created if missing). Each file is written
// under a temporary name and renamed into place, so an interrupted run never
// leaves a truncated file that looks up to date. Returns 0, or 1 after
// writing the reason to err.
int runArtgen(const std::filesystem::path& outdir, std::ostream& err);

} // namespace artgen
