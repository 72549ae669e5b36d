// One artgen run shared by the tests that only read its output: a full run draws two
// 1400 x 1300 papers, so each test doing its own would make the suite slow.
#pragma once

#include "artwork.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace arttest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline Bytes readAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ScratchDir {
public:
    ScratchDir()
    {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("artgen-test-" + std::to_string(rd()) + std::to_string(rd()));
    }
    ~ScratchDir()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The folder of the shared run; empty when artgen failed (the caller's test fails).
inline const fs::path& generatedArt()
{
    static ScratchDir dir;
    static const bool ok = [] {
        std::ostringstream err;
        const int rc = artgen::runArtgen(dir.path(), err);
        if (rc != 0) ADD_FAILURE() << "artgen failed: " << err.str();
        return rc == 0;
    }();
    static const fs::path none;
    return ok ? dir.path() : none;
}

inline Bytes artFile(const std::string& name)
{
    const fs::path& dir = generatedArt();
    if (dir.empty()) return {};
    return readAll(dir / name);
}

// The project's root folder, from this header's own path.
inline fs::path sourceRoot() { return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path(); }

} // namespace arttest
