// XMP is read and written by the XMP toolkit; these check what is taken out and what stays, in
// both forms a property can take (an attribute, an element) and for structures.
#include "engine/metadata/XmpForOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace voveriz {
namespace {

const std::string kPacket
    = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
      "<rdf:Description rdf:about=\"\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\""
      " xmlns:exifEX=\"http://cipa.jp/exif/1.0/\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\""
      " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:xmpGImg=\"http://ns.adobe.com/xap/1.0/g/img/\""
      " xmlns:Iptc4xmpCore=\"http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/\""
      " xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\""
      " xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\""
      " exif:GPSAltitude=\"1200/10\" photoshop:State=\"Vestland\" tiff:Make=\"KeptMake\" tiff:Orientation=\"8\">"
      "<exif:GPSLongitude>5,20.0E</exif:GPSLongitude><exifEX:GPSHPositioningError>5/1</exifEX:GPSHPositioningError>"
      "<exif:PixelXDimension>4000</exif:PixelXDimension><tiff:ImageLength>3000</tiff:ImageLength>"
      "<Iptc4xmpCore:Location>Bryggen</Iptc4xmpCore:Location>"
      "<Iptc4xmpExt:LocationShown><rdf:Bag><rdf:li rdf:parseType=\"Resource\">"
      "<Iptc4xmpExt:City>Bergen</Iptc4xmpExt:City></rdf:li></rdf:Bag></Iptc4xmpExt:LocationShown>"
      "<xmp:Thumbnails><rdf:Alt><rdf:li rdf:parseType=\"Resource\"><xmpGImg:image>b2xk</xmpGImg:image>"
      "</rdf:li></rdf:Alt></xmp:Thumbnails>"
      "</rdf:Description></rdf:RDF></x:xmpmeta>";

bool has(const std::string& xmp, const std::string& text)
{
    return xmp.find(text) != std::string::npos;
}

TEST(XmpForOutput, SaysTheOutputsSizeAndOrientationAndDropsThePreview)
{
    const std::optional<std::string> xmp = xmpForOutput(kPacket, {1080, 810, false});
    ASSERT_TRUE(xmp);
    EXPECT_TRUE(has(*xmp, "tiff:Orientation=\"1\"")) << *xmp;
    EXPECT_TRUE(has(*xmp, "exif:PixelXDimension=\"1080\"")) << *xmp;
    EXPECT_TRUE(has(*xmp, "tiff:ImageLength=\"810\"")) << *xmp;
    EXPECT_FALSE(has(*xmp, "Thumbnails")) << *xmp;
    for (const char* kept : {"KeptMake", "Vestland", "5,20.0E", "Bryggen", "Bergen", "GPSHPositioningError"}) {
        EXPECT_TRUE(has(*xmp, kept)) << kept;
    }
}

TEST(XmpForOutput, DropsGpsAndPlaceNamesWhenAsked)
{
    const std::optional<std::string> xmp = xmpForOutput(kPacket, {1080, 810, true});
    ASSERT_TRUE(xmp);
    for (const char* gone : {"GPS", "Vestland", "Bryggen", "Bergen", "Location"}) {
        EXPECT_FALSE(has(*xmp, gone)) << gone << " in " << *xmp;
    }
    EXPECT_TRUE(has(*xmp, "KeptMake"));
}

TEST(XmpForOutput, LeavesAPacketThatNeedsNothingAsItIsAndRefusesOneItCannotRead)
{
    const std::string upright = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                                "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                                "rdf:about=\"\" xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" tiff:Orientation=\"1\"/>"
                                "</rdf:RDF></x:xmpmeta>";
    EXPECT_EQ(xmpForOutput(upright, {10, 10, true}), upright);
    // Refused quietly: the toolkit's own complaint must not reach voveriz-cli's output.
    const std::string repeated = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                                 "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                                 "rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"><xmp:Rating>4</xmp:Rating>"
                                 "<xmp:Rating>4</xmp:Rating></rdf:Description></rdf:RDF></x:xmpmeta>";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(xmpForOutput("<x:xmpmeta><rdf:RDF", {10, 10, false}), std::nullopt);
    EXPECT_EQ(xmpForOutput(repeated, {10, 10, false}), std::nullopt);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace voveriz
