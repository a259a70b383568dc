#include "engine/metadata/XmpForOutput.h"

#include <exempi/xmp.h>
#include <exempi/xmpconsts.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <mutex>
#include <vector>

namespace voveriz {

namespace {

constexpr const char* kExifEx = "http://cipa.jp/exif/1.0/";
constexpr const char* kIptcExt = "http://iptc.org/std/Iptc4xmpExt/2008-02-29/";

struct Property {
    const char* schema;
    const char* name;
};

// Where XMP says where a photo was taken, besides its GPS properties.
const Property kPlaceNames[] = {
    {NS_PHOTOSHOP, "City"},       {NS_PHOTOSHOP, "State"},         {NS_PHOTOSHOP, "Country"},
    {NS_IPTC4XMP, "Location"},    {NS_IPTC4XMP, "CountryCode"},    {kIptcExt, "LocationCreated"},
    {kIptcExt, "LocationShown"},
};

using Packet = std::unique_ptr<std::remove_pointer_t<XmpPtr>, decltype(&xmp_free)>;
using Text = std::unique_ptr<std::remove_pointer_t<XmpStringPtr>, decltype(&xmp_string_free)>;

// The XMP toolkit's C interface writes every error it catches to std::cerr: a packet it cannot
// read (a digiKam one repeating a property, say) would print "Duplicate property or field node"
// on voveriz-cli's output. Held while the toolkit is in use, this sends that text nowhere; nothing
// else in the program writes to std::cerr.
class QuietToolkitErrors {
public:
    QuietToolkitErrors() : m_saved(std::cerr.rdbuf(&m_nowhere)) {}
    ~QuietToolkitErrors() { std::cerr.rdbuf(m_saved); }
    QuietToolkitErrors(const QuietToolkitErrors&) = delete;
    QuietToolkitErrors& operator=(const QuietToolkitErrors&) = delete;

private:
    struct Nowhere : std::streambuf {
        int overflow(int c) override { return traits_type::not_eof(c); }
    };
    Nowhere m_nowhere;
    std::streambuf* m_saved;
};

Text newText()
{
    return Text(xmp_string_new(), &xmp_string_free);
}

// The names ("exif:GPSLatitude") of the top-level properties of schema that begin with GPS.
std::vector<std::string> gpsProperties(XmpPtr xmp, const char* schema)
{
    std::vector<std::string> names;
    XmpIteratorPtr it = xmp_iterator_new(xmp, schema, nullptr, XMP_ITER_JUSTCHILDREN);
    if (it == nullptr) return names;  // the schema is not in this packet
    Text name = newText();
    while (xmp_iterator_next(it, nullptr, name.get(), nullptr, nullptr)) {
        const std::string_view path = xmp_string_cstr(name.get());
        const auto colon = path.find(':');
        if (colon != std::string_view::npos && path.substr(colon + 1).starts_with("GPS")) {
            names.emplace_back(path);
        }
    }
    xmp_iterator_free(it);
    return names;
}

// Sets schema:name to value where the packet has it with another value; whether it did.
bool replaceNumber(XmpPtr xmp, const char* schema, const char* name, int value)
{
    std::int32_t current = 0;
    if (!xmp_has_property(xmp, schema, name)) return false;
    if (xmp_get_property_int32(xmp, schema, name, &current, nullptr) && current == value) return false;
    return xmp_set_property_int32(xmp, schema, name, value, 0);
}

bool deleteProperty(XmpPtr xmp, const char* schema, const char* name)
{
    return xmp_has_property(xmp, schema, name) && xmp_delete_property(xmp, schema, name);
}

}  // namespace

std::optional<std::string> xmpForOutput(std::string_view packet, const XmpChanges& changes)
{
    // The XMP toolkit's start is not thread safe and its namespace table is shared: one packet at a
    // time. A packet is a few kilobytes, and a file holds at most one.
    static std::mutex toolkit;
    const std::lock_guard lock(toolkit);
    const QuietToolkitErrors quiet;
    static const bool started = [] {
        if (!xmp_init()) return false;
        // Registered so that asking for their properties in a packet without them is a plain "no".
        xmp_register_namespace(kExifEx, "exifEX", nullptr);
        xmp_register_namespace(kIptcExt, "Iptc4xmpExt", nullptr);
        return true;
    }();
    if (!started) return std::nullopt;

    const Packet xmp(xmp_new(packet.data(), packet.size()), &xmp_free);
    if (!xmp) return std::nullopt;

    bool changed = false;
    changed |= replaceNumber(xmp.get(), NS_TIFF, "Orientation", 1);
    changed |= replaceNumber(xmp.get(), NS_TIFF, "ImageWidth", changes.width);
    changed |= replaceNumber(xmp.get(), NS_TIFF, "ImageLength", changes.height);
    changed |= replaceNumber(xmp.get(), NS_EXIF, "PixelXDimension", changes.width);
    changed |= replaceNumber(xmp.get(), NS_EXIF, "PixelYDimension", changes.height);
    changed |= deleteProperty(xmp.get(), NS_XAP, "Thumbnails");
    if (changes.dropLocation) {
        for (const char* schema : {NS_EXIF, kExifEx}) {
            for (const std::string& name : gpsProperties(xmp.get(), schema)) {
                changed |= deleteProperty(xmp.get(), schema, name.c_str());
            }
        }
        for (const Property& place : kPlaceNames) {
            changed |= deleteProperty(xmp.get(), place.schema, place.name);
        }
    }
    if (!changed) return std::string(packet);

    // No packet wrapper, so no padding: libvips leaves out of a JPEG any XMP over 60,000 bytes.
    Text out = newText();
    if (!xmp_serialize(xmp.get(), out.get(), XMP_SERIAL_OMITPACKETWRAPPER | XMP_SERIAL_USECOMPACTFORMAT, 0)) {
        return std::nullopt;
    }
    return std::string(xmp_string_cstr(out.get()), xmp_string_len(out.get()));
}

}  // namespace voveriz
