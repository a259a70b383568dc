#include "cli/CliOptions.h"

#include "engine/plan/ByteSize.h"

#include <charconv>

namespace voveriz::cli {

namespace {

constexpr std::string_view kUsage
    = "Usage: voveriz-cli (--width N | --height N | --long-edge N | --short-edge N | --fit WxH)\n"
      "                   --out DIR [--jobs J] [--strip | --strip-location] [--keep-dates]\n"
      "                   [--format FORMAT] [--quality Q] [--max-bytes SIZE] [--recursive] PATH...\n"
      "Resizes each PATH into DIR so that its width (or height) is N pixels; an image already\n"
      "that small or smaller is copied unchanged. Nothing is ever overwritten.\n"
      "\n"
      "  --width N         the width of the resized images, in pixels\n"
      "  --height N        the height of the resized images, in pixels\n"
      "  --long-edge N     the longer side of each image, as it is seen (turned upright)\n"
      "  --short-edge N    the shorter side of each image, as it is seen\n"
      "  --fit WxH         each image within W by H pixels, its aspect kept, e.g. --fit 1920x1080\n"
      "                    (give one of these five)\n"
      "  --out DIR         the folder the resized images are written to\n"
      "  --jobs J          how many files are worked on at once (default: one per core;\n"
      "                    1 works strictly one file at a time)\n"
      "  --strip           resized images carry no EXIF, XMP or IPTC (camera, date, place);\n"
      "                    the color profile stays\n"
      "  --strip-location  resized images keep their metadata but lose GPS and place names\n"
      "  --keep-dates      resized images take their source's modification time, as copies do\n"
      "  --format FORMAT   write every output as jpeg, png, webp, avif, heic, jxl, tiff, gif\n"
      "                    or bmp, its extension following (IMG_1.HEIC -> IMG_1.jpg with jpeg);\n"
      "                    an image already small enough in another format is converted at\n"
      "                    its own size, e.g. --width 1080 --format webp\n"
      "  --quality Q       1 to 100, for jpeg, webp, avif, heic and jxl outputs (default: 92\n"
      "                    for jpeg, about as faithful for the others); with --format naming a\n"
      "                    lossless format it is an error, without --format the PNG, TIFF, GIF\n"
      "                    and BMP outputs ignore it, e.g. --format avif --quality 60\n"
      "  --max-bytes SIZE  no output larger than SIZE: 500k (500,000 bytes), 2M, 512Ki (524,288);\n"
      "                    each lossy output is written at the highest quality, from --quality\n"
      "                    (or the default) down to 30, that fits, and one that does not fit even\n"
      "                    then is not written; a PNG, TIFF, GIF or BMP output over SIZE is not\n"
      "                    written either, and a copy over SIZE is encoded instead (at its own\n"
      "                    size); with --format naming a lossless format it is an error,\n"
      "                    e.g. --long-edge 2048 --max-bytes 500k\n"
      "  -r, --recursive   walk each folder among the PATHs: its files, then its subfolders,\n"
      "                    names sorted, hidden ones left out, links to folders not followed;\n"
      "                    outputs go into the same subfolders under DIR, and DIR itself is\n"
      "                    left out of the walk (DIR may not be a PATH itself)\n"
      "  --help            show this text\n"
      "  --                end of options: every argument after it is a PATH\n"
      "\n"
      "Copies of images already small enough stay byte for byte, metadata included.\n"
      "Prints one result line per file, in the order given, as the window logs it; a file\n"
      "found in a walked folder is named by its path inside that folder.\n"
      "Exit status: 0 when every file was resized, copied or skipped; 1 when any\n"
      "failed or the size or folder was unusable; 2 for a usage error.\n";

ParsedArguments usageError(std::string message)
{
    ParsedArguments parsed;
    parsed.kind = ParsedArguments::Kind::UsageError;
    parsed.error = std::move(message);
    return parsed;
}

constexpr std::string_view kSizeOptions = "--width, --height, --long-edge, --short-edge and --fit";

std::optional<SizeMode> sizeModeOf(std::string_view option)
{
    if (option == "--width") return SizeMode::Width;
    if (option == "--height") return SizeMode::Height;
    if (option == "--long-edge") return SizeMode::LongEdge;
    if (option == "--short-edge") return SizeMode::ShortEdge;
    if (option == "--fit") return SizeMode::Fit;
    return std::nullopt;
}

std::optional<int> parseQuality(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 100) return std::nullopt;
    return value;
}

std::optional<unsigned> parseJobs(std::string_view text)
{
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

}  // namespace

std::string_view usageText()
{
    return kUsage;
}

ParsedArguments parseArguments(std::span<const std::string_view> arguments)
{
    ParsedArguments parsed;
    CliOptions& options = parsed.options;
    bool sizeGiven = false;
    bool jobsGiven = false;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.paths.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            parsed.kind = ParsedArguments::Kind::Help;
            return parsed;
        }

        // "--name value" or "--name=value".
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (auto equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name == "--strip" || name == "--strip-location" || name == "--keep-dates" || name == "--recursive"
            || name == "-r") {
            if (value) return usageError(std::string(name) + " takes no value");
            if (name == "--strip") options.metadata.strip = true;
            if (name == "--strip-location") options.metadata.stripLocation = true;
            if (name == "--keep-dates") options.metadata.keepModificationTime = true;
            if (name == "--recursive" || name == "-r") options.recursive = true;
            continue;
        }
        const std::optional<SizeMode> mode = sizeModeOf(name);
        if (!mode && name != "--out" && name != "--jobs" && name != "--format" && name != "--quality"
            && name != "--max-bytes") {
            return usageError("unknown option '" + std::string(name) + "'");
        }
        if (!value) {
            if (i + 1 == arguments.size()) return usageError(std::string(name) + " needs a value");
            value = arguments[++i];
        }

        if (mode) {
            if (sizeGiven) return usageError("give only one of " + std::string(kSizeOptions) + ", once");
            sizeGiven = true;
            options.sizeMode = *mode;
            options.targetText = *value;
        } else if (name == "--out") {
            if (options.outputDir) return usageError("--out given more than once");
            if (value->empty()) return usageError("--out needs a folder");
            options.outputDir = std::filesystem::path(*value);
        } else if (name == "--format") {
            if (options.output.format) return usageError("--format given more than once");
            options.output.format = imageFormatNamed(*value);
            if (!options.output.format) {
                return usageError("--format takes jpeg, png, webp, avif, heic, jxl, tiff, gif or bmp, not '"
                    + std::string(*value) + "'");
            }
        } else if (name == "--quality") {
            if (options.output.quality != 0) return usageError("--quality given more than once");
            const std::optional<int> quality = parseQuality(*value);
            if (!quality)
                return usageError("--quality needs a whole number from 1 to 100, not '" + std::string(*value) + "'");
            options.output.quality = *quality;
        } else if (name == "--max-bytes") {
            if (options.output.maxBytes != 0) return usageError("--max-bytes given more than once");
            const std::optional<std::uint64_t> bytes = parseByteSize(*value);
            if (!bytes) {
                return usageError(
                    "--max-bytes needs a size such as 500000, 500k, 2M or 512Ki, not '" + std::string(*value) + "'");
            }
            options.output.maxBytes = *bytes;
        } else {
            if (jobsGiven) return usageError("--jobs given more than once");
            auto jobs = parseJobs(*value);
            if (!jobs) return usageError("--jobs needs a positive whole number, not '" + std::string(*value) + "'");
            jobsGiven = true;
            options.jobs = *jobs;
        }
    }

    if (!sizeGiven) return usageError("give one of " + std::string(kSizeOptions));
    if (options.metadata.strip && options.metadata.stripLocation) {
        return usageError("give only one of --strip and --strip-location");
    }
    if (options.output.quality != 0 && options.output.format && !isLossy(*options.output.format)) {
        return usageError("--quality is for jpeg, webp, avif, heic and jxl; "
            + std::string(nameOf(*options.output.format)) + " is lossless");
    }
    if (options.output.maxBytes != 0 && options.output.format && !isLossy(*options.output.format)) {
        return usageError("--max-bytes is for jpeg, webp, avif, heic and jxl; "
            + std::string(nameOf(*options.output.format)) + " is lossless");
    }
    if (options.paths.empty()) return usageError("no PATH given");
    parsed.kind = ParsedArguments::Kind::Run;
    return parsed;
}

}  // namespace voveriz::cli
