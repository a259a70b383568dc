#include "support/TestFiles.h"

#include <vips/vips8>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

namespace voveriz::testing {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::random_device device;
    std::mt19937_64 random(device());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("voveriz-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("could not make a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Tests may leave read-only folders behind; give write access back before removing.
    for (auto it = fs::recursive_directory_iterator(m_path, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

vips::VImage gradientImage(int width, int height, int bands)
{
    vips::VImage x = vips::VImage::xyz(width, height);
    vips::VImage r = (x[0] * (255.0 / std::max(1, width))).cast(VIPS_FORMAT_UCHAR);
    vips::VImage g = (x[1] * (255.0 / std::max(1, height))).cast(VIPS_FORMAT_UCHAR);
    vips::VImage b = ((x[0] + x[1]) * (127.0 / std::max(1, width + height)) + 64).cast(VIPS_FORMAT_UCHAR);
    vips::VImage image = r.bandjoin(g).bandjoin(b);
    if (bands == 4) {
        image = image.bandjoin(vips::VImage::black(width, height).invert().cast(VIPS_FORMAT_UCHAR));
    } else if (bands == 1) {
        image = r;
    }
    return image.copy(vips::VImage::option()->set("interpretation",
                                                   bands >= 3 ? VIPS_INTERPRETATION_sRGB : VIPS_INTERPRETATION_B_W));
}

void writeImage(const fs::path& file, int width, int height, int bands)
{
    gradientImage(width, height, bands).write_to_file(file.c_str());
}

void saveImage(const vips::VImage& image, const fs::path& file, const std::string& format)
{
    if (format == ".bmp") {
        image.magicksave(file.c_str(), vips::VImage::option()->set("format", "bmp"));
        return;
    }
    void* data = nullptr;
    size_t size = 0;
    image.write_to_buffer(format.c_str(), &data, &size);
    writeFile(file, std::string(static_cast<const char*>(data), size));
    g_free(data);
}

std::string loaderOf(const fs::path& file)
{
    return vips::VImage::new_from_file(file.c_str()).get_string("vips-loader");
}

PixelSize imageSize(const fs::path& file)
{
    vips::VImage image = vips::VImage::new_from_file(file.c_str());
    return {image.width(), image.height()};
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> listFolder(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace voveriz::testing
