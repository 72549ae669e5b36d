#include "artwork.h"
#include "image_files.h"

#include <fstream>
#include <ostream>
#include <system_error>

namespace artgen {

namespace {

Bytes iconOf(Canvas (*draw)(int), std::initializer_list<int> sizes)
{
    std::vector<Canvas> images;
    for (int s : sizes) images.push_back(draw(s));
    return encodeIco(images);
}

bool writeWhole(const std::filesystem::path& target, const Bytes& bytes, std::ostream& err)
{
    std::filesystem::path temp = target;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            err << "artgen: cannot create " << temp.string() << '\n';
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            err << "artgen: cannot write " << temp.string() << '\n';
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        err << "artgen: cannot replace " << target.string() << ": " << ec.message() << '\n';
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

} // namespace

const std::vector<ArtFile>& artFiles()
{
    static const std::vector<ArtFile> files = {
        {"ding.wav", [] { return encodeWav16(makeTickSound()); }},
        {"ringin.wav", [] { return encodeWav16(makeBellSound()); }},
        {"tirelmo.ico", [] { return iconOf(drawTomato, {16, 32, 48}); }},
        {"vornel.ico", [] { return iconOf(drawVornelIcon, {32, 48}); }},
        {"vornel_small.ico", [] { return iconOf(drawVornelIcon, {16}); }},
    };
    return files;
}

int runArtgen(const std::filesystem::path& outdir, std::ostream& err)
{
    std::error_code ec;
    std::filesystem::create_directories(outdir, ec);
    if (ec) {
        err << "artgen: cannot create " << outdir.string() << ": " << ec.message() << '\n';
        return 1;
    }
    for (const ArtFile& f : artFiles()) {
        Bytes bytes;
        try {
            bytes = f.make();
        } catch (const std::exception& e) {
            err << "artgen: " << f.name << ": " << e.what() << '\n';
            return 1;
        }
        if (!writeWhole(outdir / f.name, bytes, err)) return 1;
    }
    return 0;
}

} // namespace artgen
