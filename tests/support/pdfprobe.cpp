#include "tests/support/pdfprobe.h"

#include "tests/support/childprocess.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pdf {

Raster::Rgb Raster::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Raster Rasterise(const std::string& File, int Dpi, int Page) {
    Raster out;
    char root[] = "/tmp/moltren-pdfprobe-XXXXXX";
    const int fd = mkstemp(root);
    if (fd < 0) return out;
    close(fd);
    const std::string ppm = std::string(root) + ".ppm";
    {
        ChildProcess run("/usr/bin/pdftoppm", {"-r", std::to_string(Dpi), "-f", std::to_string(Page), "-l",
                                               std::to_string(Page), "-singlefile", File, root});
        while (!run.ReadLine().empty()) {
        }
        run.Terminate();
    }
    std::remove(root);
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> out.width >> out.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || out.width <= 0 || out.height <= 0) return Raster{};
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    in.read(reinterpret_cast<char*>(out.rgb.data()), static_cast<std::streamsize>(out.rgb.size()));
    std::remove(ppm.c_str());
    if (!in) return Raster{};
    return out;
}

std::string Text(const std::string& File) {
    char out[] = "/tmp/moltren-pdftext-XXXXXX";
    const int fd = mkstemp(out);
    if (fd < 0) return {};
    close(fd);
    {
        ChildProcess run("/usr/bin/pdftotext", {File, out});
        while (!run.ReadLine().empty()) {
        }
        run.Terminate();
    }
    std::ifstream in(out);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(out);
    return all;
}

std::string Info(const std::string& File, const std::string& Key) {
    ChildProcess run("/usr/bin/pdfinfo", {File});
    std::string value;
    for (std::string line = run.ReadLine(); !line.empty(); line = run.ReadLine()) {
        if (line.rfind(Key + ":", 0) != 0) continue;
        value = line.substr(Key.size() + 1);
        value.erase(0, value.find_first_not_of(' '));
    }
    run.Terminate();
    return value;
}

} // namespace pdf
