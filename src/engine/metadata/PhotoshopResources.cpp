#include "engine/metadata/PhotoshopResources.h"

#include <cstdint>

namespace voveriz {

// Written here, not taken from libiptcdata: its 1.0.5 trusts a dataset's four-byte extended length
// (its bound check wraps around) and reads a byte past a last resource without its pad byte. These
// walks check every length against what is left before they use it.

namespace {

constexpr std::string_view kPhotoshopHeader{"Photoshop 3.0\0", 14};
constexpr std::uint16_t kIptcResource = 1028;
constexpr std::uint16_t kOldThumbnailResource = 1033;
constexpr std::uint16_t kThumbnailResource = 1036;
constexpr std::uint16_t kExifResource = 1058;
constexpr std::uint16_t kXmpResource = 1060;

std::uint32_t bigEndian(std::string_view bytes)
{
    std::uint32_t value = 0;
    for (char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

void appendBigEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

bool isPlaceName(unsigned record, unsigned dataset)
{
    if (record != 2) return false;
    switch (dataset) {
    case 26: case 27: case 90: case 92: case 95: case 100: case 101: return true;
    default: return false;
    }
}

// The resources after the header, filtered; none when one does not parse.
std::optional<std::string> filterResources(std::string_view rest, bool dropLocation)
{
    std::string out;
    while (!rest.empty()) {
        // "8BIM", id (2), name as a Pascal string padded to even length, size (4), data padded to even.
        if (rest.size() < 7 || rest.substr(0, 4) != "8BIM") return std::nullopt;
        const auto id = static_cast<std::uint16_t>(bigEndian(rest.substr(4, 2)));
        const std::size_t nameLength = static_cast<unsigned char>(rest[6]) + 1u;
        const std::size_t nameField = nameLength + (nameLength & 1);
        if (rest.size() - 6 < nameField + 4) return std::nullopt;
        const std::size_t dataStart = 6 + nameField + 4;
        const std::size_t size = bigEndian(rest.substr(6 + nameField, 4));
        if (rest.size() - dataStart < size) return std::nullopt;
        // The pad byte may be missing after the last resource.
        const std::size_t whole = std::min(rest.size(), dataStart + size + (size & 1));
        const std::string_view resource = rest.substr(0, whole);
        rest.remove_prefix(whole);

        if (id == kOldThumbnailResource || id == kThumbnailResource) continue;
        if (!dropLocation) {
            out.append(resource);
            continue;
        }
        if (id == kExifResource || id == kXmpResource) continue;
        if (id != kIptcResource) {
            out.append(resource);
            continue;
        }
        const std::optional<std::string> iptc = iptcWithoutLocation(resource.substr(dataStart, size));
        if (!iptc) return std::nullopt;
        out.append(resource.substr(0, 6 + nameField));
        appendBigEndian(out, static_cast<std::uint32_t>(iptc->size()), 4);
        out.append(*iptc);
        if (iptc->size() & 1) out.push_back('\0');
    }
    return out;
}

}  // namespace

std::optional<std::string> iptcWithoutLocation(std::string_view rest)
{
    std::string out;
    while (!rest.empty()) {
        // 0x1C, record, dataset, length (2); a length with its top bit set gives the number of
        // bytes of the real length that follow.
        if (rest.size() < 5 || rest[0] != '\x1c') return std::nullopt;
        const unsigned record = static_cast<unsigned char>(rest[1]);
        const unsigned dataset = static_cast<unsigned char>(rest[2]);
        std::size_t header = 5;
        std::uint64_t size = bigEndian(rest.substr(3, 2));
        if (size & 0x8000) {
            const std::size_t lengthBytes = size & 0x7fff;
            if (lengthBytes == 0 || lengthBytes > 4 || rest.size() - 5 < lengthBytes) return std::nullopt;
            size = bigEndian(rest.substr(5, lengthBytes));
            header += lengthBytes;
        }
        if (rest.size() - header < size) return std::nullopt;
        const std::size_t whole = header + static_cast<std::size_t>(size);
        if (!isPlaceName(record, dataset)) out.append(rest.substr(0, whole));
        rest.remove_prefix(whole);
    }
    return out;
}

std::optional<std::string> photoshopResourcesForOutput(std::string_view blob, bool dropLocation)
{
    const bool withHeader = blob.starts_with(kPhotoshopHeader);
    if (withHeader) blob.remove_prefix(kPhotoshopHeader.size());
    std::optional<std::string> resources = filterResources(blob, dropLocation);
    if (!resources || !withHeader) return resources;
    return std::string(kPhotoshopHeader) + *resources;
}

}  // namespace voveriz
