// libFuzzer target: whatever bytes come in are written as a source file and resized into an empty
// folder; after every run the outcome must obey the engine's promises, or the run aborts.
//
// The first input byte chooses the case, the rest is the file:
//   bits 0-2  the extension (the format table's seven, plus "webp", which is written as JPEG)
//   bit  3    width or height mode
//   bits 4-7  the target, 1 to 16 pixels (small, so that most images are scaled)
#include "engine/EngineRuntime.h"
#include "engine/ResizeImage.h"

#include <vips/vips8>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kExtensions[] = {"jpg", "jpeg", "png", "tiff", "tif", "bmp", "gif", "webp"};

fs::path workFolder;

[[noreturn]] void fail(const std::string& what, const std::string& message)
{
    std::fprintf(stderr, "\nBROKEN PROMISE: %s\nmessage: %s\n", what.c_str(), message.c_str());
    std::abort();
}

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> entries(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
}

void checkOutcome(const voveriz::ResizeResult& result, const std::string& name, const fs::path& in,
                  const fs::path& out, const std::string& bytes)
{
    const std::string& message = result.message();
    if (message.rfind(name, 0) != 0) fail("message does not start with " + name, message);

    if (readAll(in / name) != bytes) fail("the source changed", message);
    if (entries(in) != std::vector<std::string>{name}) fail("something appeared next to the source", message);

    const std::vector<std::string> made = entries(out);
    for (const std::string& entry : made) {
        if (entry.empty() || entry[0] == '.') fail("a hidden or temporary file was left: " + entry, message);
    }
    const bool copied = result.outcome() == voveriz::Outcome::Copied;
    const bool resized = result.outcome() == voveriz::Outcome::Resized;
    const std::size_t expected = (resized || copied) ? 1 : 0;
    if (made.size() != expected) fail("the output folder holds " + std::to_string(made.size()) + " files", message);

    if (copied && readAll(out / made[0]) != bytes) fail("the copy differs from the source", message);
    if (resized) {
        const std::size_t lineBreak = message.find('\n');
        if (lineBreak == std::string::npos || message.compare(lineBreak + 1, 3 + made[0].size(), "   " + made[0]) != 0) {
            fail("the second line does not name the written file", message);
        }
        const long long width = result.account().writtenSize.width;
        const long long height = result.account().writtenSize.height;
        // The written file must read back at the size the message reports (first page of an animation).
        // A BMP is read through ImageMagick, whose policy refuses sides over 16384: its header is read here.
        if (made[0].size() > 4 && made[0].substr(made[0].size() - 4) == ".bmp") {
            const std::string written = readAll(out / made[0]);
            auto field = [&](std::size_t at) {
                return written.size() < at + 4 ? -1LL
                                               : static_cast<long long>(static_cast<std::int32_t>(
                                                     static_cast<std::uint8_t>(written[at]) | static_cast<std::uint8_t>(written[at + 1]) << 8
                                                     | static_cast<std::uint8_t>(written[at + 2]) << 16
                                                     | static_cast<std::uint32_t>(static_cast<std::uint8_t>(written[at + 3])) << 24));
            };
            if (written.compare(0, 2, "BM") != 0 || field(18) != width || std::llabs(field(22)) != height) {
                fail("the written BMP's header does not say " + std::to_string(width) + "x" + std::to_string(height), message);
            }
            return;
        }
        try {
            vips::VImage written = vips::VImage::new_from_file((out / made[0]).c_str());
            if (written.width() != width || vips_image_get_page_height(written.get_image()) != height) {
                fail("the written file is " + std::to_string(written.width()) + "x"
                         + std::to_string(vips_image_get_page_height(written.get_image())),
                     message);
            }
        } catch (const vips::VError& error) {
            fail(std::string("the written file cannot be read: ") + error.what(), message);
        }
    }
}

void clear(const fs::path& dir)
{
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static voveriz::EngineRuntime runtime((*argv)[0]);
    vips_concurrency_set(1);  // the fuzzer runs with one job; keep libvips on the same core
    char pattern[] = "/tmp/voveriz-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    workFolder = pattern;
    fs::create_directory(workFolder / "in");
    fs::create_directory(workFolder / "out");
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(workFolder, ignored);
    });
    (void)argc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::uint8_t control = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string name = std::string("input.") + kExtensions[control & 7];
    const bool widthMode = (control & 8) == 0;
    const std::int64_t target = 1 + (control >> 4);

    const fs::path in = workFolder / "in";
    const fs::path out = workFolder / "out";
    clear(in);
    clear(out);
    {
        std::ofstream file(in / name, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const voveriz::ResizeResult result = voveriz::resizeImage(in / name, target, widthMode ? voveriz::Dimension::Width : voveriz::Dimension::Height, out);
    checkOutcome(result, name, in, out, bytes);
    vips_error_clear();
    return 0;
}
