#include "MetadataPhoto.h"

#include "support/TestFiles.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace voveriz::testing {

using vips::VImage;

namespace {

std::string blob(const VImage& image, const char* field)
{
    if (image.get_typeof(field) == 0) return {};
    size_t length = 0;
    const void* data = image.get_blob(field, &length);
    return {static_cast<const char*>(data), length};
}

void setBlob(VImage& image, const char* field, const std::string& bytes)
{
    vips_image_set_blob_copy(image.get_image(), field, bytes.data(), bytes.size());
}

void addEntry(ExifData* exif, ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned components, const void* data,
              unsigned size)
{
    ExifEntry* entry = exif_entry_new();
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = size;
    entry->data = static_cast<unsigned char*>(malloc(size));  // libexif frees it with free()
    std::memcpy(entry->data, data, size);
    exif_content_add_entry(exif->ifd[ifd], entry);
    exif_entry_unref(entry);
}

void addText(ExifData* exif, ExifIfd ifd, ExifTag tag, const std::string& text)
{
    addEntry(exif, ifd, tag, EXIF_FORMAT_ASCII, text.size() + 1, text.c_str(), text.size() + 1);
}

std::string exifBlob(const PhotoMetadata& metadata, const std::string& thumbnail)
{
    std::unique_ptr<ExifData, decltype(&exif_data_unref)> exif(exif_data_new(), &exif_data_unref);
    exif_data_set_byte_order(exif.get(), EXIF_BYTE_ORDER_INTEL);
    addText(exif.get(), EXIF_IFD_0, EXIF_TAG_MAKE, kCameraMake);
    addText(exif.get(), EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, "2024:05:06 07:08:09");
    if (metadata.location) {
        addText(exif.get(), EXIF_IFD_GPS, static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE_REF), "N");
        const unsigned char latitude[24] = {52, 0, 0, 0, 1, 0, 0, 0, 30, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
        addEntry(exif.get(), EXIF_IFD_GPS, static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE), EXIF_FORMAT_RATIONAL, 3,
                 latitude, sizeof latitude);
    }
    if (!thumbnail.empty()) {
        exif->data = static_cast<unsigned char*>(malloc(thumbnail.size()));
        std::memcpy(exif->data, thumbnail.data(), thumbnail.size());
        exif->size = static_cast<unsigned>(thumbnail.size());
    }
    unsigned char* data = nullptr;
    unsigned size = 0;
    exif_data_save_data(exif.get(), &data, &size);
    std::string bytes(reinterpret_cast<char*>(data), size);
    free(data);
    return bytes;
}

std::string xmpPacket(const PhotoMetadata& metadata)
{
    std::string location;
    if (metadata.location) {
        location = std::string("  <photoshop:City>") + kCity + "</photoshop:City>\n"
                   + "  <exif:GPSLatitude>52,30.0N</exif:GPSLatitude>\n";
    }
    return std::string("<?xpacket begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                       "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       " <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                       "xmlns:tiff=\"http://ns.adobe.com/tiff/1.0/\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" "
                       "xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\">\n"
                       "  <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">")
           + kCaption + "</rdf:li></rdf:Alt></dc:description>\n"
           + "  <tiff:Orientation>" + std::to_string(metadata.orientation) + "</tiff:Orientation>\n" + location
           + " </rdf:Description>\n</rdf:RDF></x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

std::string bigEndian(std::size_t value, int bytes)
{
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
    return out;
}

std::string iimDataset(int dataset, const std::string& text)
{
    return std::string("\x1c\x02", 2) + static_cast<char>(dataset) + bigEndian(text.size(), 2) + text;
}

// "8BIM", id, an empty name padded to two bytes, size, data padded to even.
std::string photoshopResource(int id, const std::string& data)
{
    return "8BIM" + bigEndian(id, 2) + std::string(2, '\0') + bigEndian(data.size(), 4) + data
           + std::string(data.size() % 2, '\0');
}

std::string iptcBlock(const PhotoMetadata& metadata)
{
    std::string iim = iimDataset(120, kCaption);
    if (metadata.location) iim += iimDataset(90, kCity);
    std::string block = std::string("Photoshop 3.0\0", 14) + photoshopResource(1028, iim);
    if (metadata.thumbnail) block += photoshopResource(1036, kPhotoshopPreview);
    return block;
}

}  // namespace

std::string displayP3Profile()
{
    VipsBlob* profile = nullptr;
    if (vips_profile_load("p3", &profile, nullptr) != 0) throw std::runtime_error("no p3 profile");
    size_t length = 0;
    const void* data = vips_blob_get(profile, &length);
    std::string bytes(static_cast<const char*>(data), length);
    vips_area_unref(reinterpret_cast<VipsArea*>(profile));
    return bytes;
}

void writePhoto(const VImage& picture, const PhotoMetadata& metadata, const std::filesystem::path& file,
                const std::string& format)
{
    std::string thumbnail;
    if (metadata.thumbnail) {
        // Landscape and red: what the camera saw before the photo was turned.
        void* data = nullptr;
        size_t size = 0;
        VImage::black(160, 100, VImage::option()->set("bands", 3))
            .new_from_image({255, 0, 0})
            .cast(VIPS_FORMAT_UCHAR)
            .write_to_buffer(".jpg", &data, &size, VImage::option()->set("strip", true));
        thumbnail.assign(static_cast<const char*>(data), size);
        g_free(data);
    }
    VImage image = picture.copy();
    setBlob(image, "exif-data", exifBlob(metadata, thumbnail));
    image.set(VIPS_META_ORIENTATION, metadata.orientation);
    setBlob(image, "xmp-data", xmpPacket(metadata));
    setBlob(image, "iptc-data", iptcBlock(metadata));
    if (metadata.p3Profile) setBlob(image, VIPS_META_ICC_NAME, displayP3Profile());
    saveImage(image, file, format);
}

ReadBack readBack(const std::filesystem::path& file)
{
    ReadBack back;
    back.pixels = VImage::new_from_file(file.c_str());
    back.xmp = blob(back.pixels, "xmp-data");
    back.iptc = blob(back.pixels, "iptc-data") + blob(back.pixels, "photoshop-data");
    back.profile = blob(back.pixels, VIPS_META_ICC_NAME);
    std::string exif = blob(back.pixels, "exif-data");
    if (exif.empty()) return back;
    back.exif = true;
    if (exif.rfind("Exif", 0) != 0) exif.insert(0, std::string("Exif\0\0", 6));  // PNG's eXIf has no header
    std::unique_ptr<ExifData, decltype(&exif_data_unref)> data(
        exif_data_new_from_data(reinterpret_cast<const unsigned char*>(exif.data()), exif.size()), &exif_data_unref);
    back.exifThumbnail = data->size > 0 || data->ifd[EXIF_IFD_1]->count > 0;
    back.exifGps = data->ifd[EXIF_IFD_GPS]->count > 0;
    if (ExifEntry* orientation = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
        back.exifOrientation = exif_get_short(orientation->data, exif_data_get_byte_order(data.get()));
    }
    if (ExifEntry* make = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_MAKE)) {
        back.cameraMake = std::string(reinterpret_cast<const char*>(make->data), make->size).find(kCameraMake)
                          != std::string::npos;
    }
    return back;
}

}  // namespace voveriz::testing
