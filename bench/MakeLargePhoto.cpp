// bench-large-photo SOURCE OUTPUT.jpg WIDTH HEIGHT
// Writes a photo-like JPEG of WIDTH x HEIGHT: SOURCE scaled up with Lanczos3 plus a little
// gaussian grain, so the file compresses like a real photo rather than a flat gradient.
// Streams; it never holds the large image in memory.
#include <vips/vips8>

#include <cstdio>
#include <cstdlib>

using vips::VImage;

int main(int argc, char** argv)
{
    if (VIPS_INIT(argv[0]) != 0 || argc != 5) {
        std::fprintf(stderr, "usage: bench-large-photo SOURCE OUTPUT.jpg WIDTH HEIGHT\n");
        return 2;
    }
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    try {
        VImage source = VImage::new_from_file(argv[1]).colourspace(VIPS_INTERPRETATION_sRGB).copy_memory();
        VImage large = source.resize((width + 0.25) / source.width(),
                                     VImage::option()
                                         ->set("vscale", (height + 0.25) / source.height())
                                         ->set("kernel", VIPS_KERNEL_LANCZOS3));
        VImage grain = VImage::gaussnoise(large.width(), large.height(),
                                          VImage::option()->set("mean", 0.0)->set("sigma", 6.0));
        VImage photo = (large + grain).cast(VIPS_FORMAT_UCHAR);
        photo.jpegsave(argv[2], VImage::option()->set("Q", 90));
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "bench-large-photo: %s\n", error.what());
        return 1;
    }
    vips_shutdown();
    return 0;
}
