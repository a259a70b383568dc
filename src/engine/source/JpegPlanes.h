#pragma once

#include <vips/vips8>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace voveriz {

// Planes of one size, as one image of interleaved bands: a YCbCr JPEG's Y (with Cb and Cr where
// they are not subsampled), its Cb and Cr where they are, or a grey JPEG's one plane.
struct PlaneGroup {
    int width = 0;
    int height = 0;
    int bands = 0;
    int rowsPerStep = 0;  // the rows one iMCU row of the file yields
};

// A JPEG decoded by libjpeg-turbo as it is stored, in Y, Cb and Cr (or grey) planes at the DCT
// scale of shrink-on-load, before the library would upsample the chroma and turn every pixel into
// RGB. Each group of planes is read top to bottom by its own consumer; rows one consumer has not
// reached yet are kept for it while the other reads ahead. Safe to call from several threads.
class JpegPlanes {
public:
    // The planes of the JPEG that source reads, decoded at 1/shrink (1, 2, 4 or 8), or nullptr
    // where the file is not YCbCr with chroma subsampled 2x or less each way (or grey): CMYK,
    // YCCK, RGB JPEGs and odd samplings are read as today. Reads the header only.
    static std::shared_ptr<JpegPlanes> open(vips::VSource source, int shrink);

    ~JpegPlanes();
    JpegPlanes(const JpegPlanes&) = delete;
    JpegPlanes& operator=(const JpegPlanes&) = delete;

    const std::vector<PlaneGroup>& groups() const { return m_groups; }

    // Copies rows [top, top + count), columns [left, left + width) of group into out (rows stride
    // bytes apart), decoding as far as they need. A group's calls must go top to bottom. False
    // when the file is damaged: any libjpeg warning counts, so that today's path, with its own
    // rules for damage, decides what such a file is.
    bool copyRows(std::size_t group, int top, int count, int left, int width, std::uint8_t* out, std::size_t stride);

    // Whether every row of the file was decoded, up to its end-of-image marker, with no warning.
    bool readToTheEnd() const;

private:
    struct Decoder;
    struct Step;
    explicit JpegPlanes(std::unique_ptr<Decoder> decoder);
    bool decodeStep();
    void dropStepsAllGroupsPassed();

    mutable std::mutex m_lock;
    std::unique_ptr<Decoder> m_decoder;
    std::vector<PlaneGroup> m_groups;
    std::vector<int> m_groupOfComponent;
    std::vector<int> m_nextRow;                 // per group: the first row its consumer may still ask for
    std::deque<std::unique_ptr<Step>> m_steps;  // decoded and kept, oldest first
    std::vector<std::unique_ptr<Step>> m_spareSteps;
    int m_stepCount = 0;  // iMCU rows in the file
    int m_stepsDecoded = 0;
    int m_firstKeptStep = 0;
    bool m_failed = false;
};

}  // namespace voveriz
