// Photoshop resources and IPTC datasets come from the source file, so any length in them may lie.
#include "engine/metadata/PhotoshopResources.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace voveriz {
namespace {

using namespace std::string_literals;

const std::string kCity = "\x1c\x02\x5a\x00\x04Oslo"s;
const std::string kCaption = "\x1c\x02\x78\x00\x02Hi"s;

std::string resource(char id, const std::string& data, bool pad = true)
{
    std::string out = "8BIM\x04"s + id + "\0\0"s + "\0\0\0"s + static_cast<char>(data.size()) + data;
    if (pad && data.size() % 2 == 1) out += '\0';
    return out;
}

TEST(PhotoshopResources, DropTheThumbnailAlwaysAndThePlaceNamesWhenAsked)
{
    const std::string header("Photoshop 3.0\0", 14);
    const std::string iptc = resource('\x04', kCaption + kCity);
    const std::string thumbnail = resource('\x0c', "jpeg");
    const std::string other = resource('\xed', "x", false);  // the last one may lack its pad byte

    EXPECT_EQ(photoshopResourcesForOutput(header + iptc + thumbnail + other, false), header + iptc + other);
    EXPECT_EQ(photoshopResourcesForOutput(header + iptc + thumbnail + other, true),
              header + resource('\x04', kCaption) + other);
    // A TIFF's resources come without the header; their EXIF and XMP copies go with the location.
    EXPECT_EQ(photoshopResourcesForOutput(resource('\x22', "exif") + resource('\x24', "xmp") + other, true), other);
}

TEST(PhotoshopResources, RefuseLengthsThatRunPastTheEnd)
{
    const std::vector<std::string> resources = {
        "8BIM"s,                                          // cut inside the header
        "8BIM\x04\x04\x00\x00\x00\x00\x00\x09short"s,     // data shorter than its size
        "8BIM\x04\x04\xff"s + std::string(10, 'n'),       // a name longer than what is left
        "XBIM\x04\x04\x00\x00\x00\x00\x00\x00"s,          // not a resource
    };
    for (const std::string& blob : resources) {
        EXPECT_EQ(photoshopResourcesForOutput(blob, false), std::nullopt) << blob;
    }
    const std::vector<std::string> datasets = {
        "\x1c\x02\x78\x00\x09Hi"s,                             // text shorter than its length
        "\x1c\x02\x78\x80\x04\xff\xff\xff\xfa"s + "abc",       // extended length near 4 GB
        "\x1c\x02\x78\x80\x00"s,                               // an extended length of no bytes
        kCaption + "\x1c\x02"s,                                // cut inside the next header
        "junk"s,
    };
    for (const std::string& blob : datasets) {
        EXPECT_EQ(iptcWithoutLocation(blob), std::nullopt) << blob;
    }
    EXPECT_EQ(iptcWithoutLocation("\x1c\x02\x78\x80\x02\x00\x02Hi"s + kCity), "\x1c\x02\x78\x80\x02\x00\x02Hi"s);
}

}  // namespace
}  // namespace voveriz
