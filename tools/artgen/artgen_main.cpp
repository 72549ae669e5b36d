// artgen <outdir>: writes the program's generated sounds, icons and bitmaps.
#include <iostream>

#include "artwork.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: artgen <outdir>\n";
    return 2;
  }
  return artgen::runArtgen(argv[1], std::cerr);
}
