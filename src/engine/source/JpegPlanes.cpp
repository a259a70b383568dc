#include "engine/source/JpegPlanes.h"

#include "engine/source/InterleavePlanes.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace voveriz {

namespace {

// libjpeg-turbo's own API is libjpeg 6b's unless it was built for 7 or 8, which name a
// component's DCT scale per axis.
#if JPEG_LIB_VERSION >= 70
JDIMENSION linesPerStep(const jpeg_decompress_struct& cinfo)
{
    return cinfo.max_v_samp_factor * cinfo.min_DCT_v_scaled_size;
}
int scaledBlockRows(const jpeg_component_info& c)
{
    return c.DCT_v_scaled_size;
}
int scaledBlockColumns(const jpeg_component_info& c)
{
    return c.DCT_h_scaled_size;
}
#else
JDIMENSION linesPerStep(const jpeg_decompress_struct& cinfo)
{
    return cinfo.max_v_samp_factor * cinfo.min_DCT_scaled_size;
}
int scaledBlockRows(const jpeg_component_info& c)
{
    return c.DCT_scaled_size;
}
int scaledBlockColumns(const jpeg_component_info& c)
{
    return c.DCT_scaled_size;
}
#endif

constexpr std::size_t kReadSize = 64 * 1024;

// Reads the libvips source; its end is the end-of-image marker, with the warning libjpeg's own
// sources give there.
struct SourceManager {
    jpeg_source_mgr manager;
    VipsSource* source;
    std::array<JOCTET, kReadSize> buffer;
};

boolean fillInput(j_decompress_ptr cinfo)
{
    auto* s = reinterpret_cast<SourceManager*>(cinfo->src);
    const gint64 got = vips_source_read(s->source, s->buffer.data(), s->buffer.size());
    std::size_t count = got > 0 ? static_cast<std::size_t>(got) : 0;
    if (count == 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        s->buffer[0] = 0xFF;
        s->buffer[1] = JPEG_EOI;
        count = 2;
    }
    s->manager.next_input_byte = s->buffer.data();
    s->manager.bytes_in_buffer = count;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr* m = cinfo->src;
    while (count > static_cast<long>(m->bytes_in_buffer)) {
        count -= static_cast<long>(m->bytes_in_buffer);
        fillInput(cinfo);
    }
    if (count > 0) {
        m->next_input_byte += count;
        m->bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

void noOperation(j_decompress_ptr) {}

// libjpeg's fatal errors jump back to the call that met them; its warnings are counted.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    bool warned = false;
};

[[noreturn]] void failed(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->back, 1);
}

void messageEmitted(j_common_ptr cinfo, int level)
{
    if (level < 0) reinterpret_cast<ErrorManager*>(cinfo->err)->warned = true;
}

void messageShown(j_common_ptr) {}

}  // namespace

struct JpegPlanes::Decoder {
    vips::VSource source;
    SourceManager input{};
    ErrorManager errors{};
    jpeg_decompress_struct cinfo{};
    bool created = false;
    bool started = false;

    explicit Decoder(vips::VSource from) : source(std::move(from))
    {
        cinfo.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = failed;
        errors.manager.emit_message = messageEmitted;
        errors.manager.output_message = messageShown;
        input.source = source.get_source();
        input.manager.init_source = noOperation;
        input.manager.fill_input_buffer = fillInput;
        input.manager.skip_input_data = skipInput;
        input.manager.resync_to_restart = jpeg_resync_to_restart;
        input.manager.term_source = noOperation;
    }
    ~Decoder()
    {
        if (created) jpeg_destroy_decompress(&cinfo);
    }

    // Each step below runs under its own setjmp, with nothing to destroy between it and libjpeg.
    bool readHeader(int shrink)
    {
        if (setjmp(errors.back)) return false;
        jpeg_create_decompress(&cinfo);
        created = true;
        cinfo.src = &input.manager;
        if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
        cinfo.raw_data_out = TRUE;
        cinfo.scale_num = 1;
        cinfo.scale_denom = static_cast<unsigned>(shrink);
        jpeg_calc_output_dimensions(&cinfo);
        return !errors.warned;
    }
    bool start()
    {
        if (setjmp(errors.back)) return false;
        started = jpeg_start_decompress(&cinfo) == TRUE;
        return started && !errors.warned;
    }
    bool readStep(JSAMPIMAGE planes)
    {
        if (setjmp(errors.back)) return false;
        const JDIMENSION lines = linesPerStep(cinfo);
        return jpeg_read_raw_data(&cinfo, planes, lines) == lines && !errors.warned;
    }
    // Reads on to the end-of-image marker, where a file cut short, or with data after its image,
    // warns.
    bool finish()
    {
        if (setjmp(errors.back)) return false;
        return jpeg_finish_decompress(&cinfo) == TRUE && !errors.warned;
    }
};

// One iMCU row of every component, each in its own rows.
struct JpegPlanes::Step {
    std::vector<std::vector<std::uint8_t>> samples;  // per component
    std::vector<std::size_t> strides;
    std::vector<std::vector<JSAMPROW>> rows;
    std::vector<JSAMPARRAY> planes;
};

namespace {

// Whether libjpeg's raw planes are ones this reader hands on: grey, or YCbCr with Cb and Cr
// sampled alike, at most 2x below Y each way.
bool planesReadable(const jpeg_decompress_struct& cinfo)
{
    if (cinfo.num_components == 1) return cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (cinfo.num_components != 3 || cinfo.jpeg_color_space != JCS_YCbCr) return false;
    const jpeg_component_info* c = cinfo.comp_info;
    const bool lumaSampling = c[0].h_samp_factor <= 2 && c[0].v_samp_factor <= 2;
    const bool chromaSampling = c[1].h_samp_factor == 1 && c[1].v_samp_factor == 1 && c[2].h_samp_factor == 1 &&
                                c[2].v_samp_factor == 1;
    return lumaSampling && chromaSampling;
}

int rowsPerStep(const jpeg_component_info& c)
{
    return c.v_samp_factor * scaledBlockRows(c);
}

}  // namespace

std::shared_ptr<JpegPlanes> JpegPlanes::open(vips::VSource source, int shrink)
{
    auto decoder = std::make_unique<Decoder>(std::move(source));
    if (!decoder->readHeader(shrink) || !planesReadable(decoder->cinfo)) return nullptr;
    return std::shared_ptr<JpegPlanes>(new JpegPlanes(std::move(decoder)));
}

JpegPlanes::JpegPlanes(std::unique_ptr<Decoder> decoder) : m_decoder(std::move(decoder))
{
    const jpeg_decompress_struct& cinfo = m_decoder->cinfo;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& info = cinfo.comp_info[c];
        const PlaneGroup size{static_cast<int>(info.downsampled_width), static_cast<int>(info.downsampled_height), 0,
                              rowsPerStep(info)};
        auto same = std::find_if(m_groups.begin(), m_groups.end(), [&](const PlaneGroup& g) {
            return g.width == size.width && g.height == size.height && g.rowsPerStep == size.rowsPerStep;
        });
        if (same == m_groups.end()) same = m_groups.insert(m_groups.end(), size);
        ++same->bands;
        m_groupOfComponent.push_back(static_cast<int>(same - m_groups.begin()));
    }
    m_nextRow.assign(m_groups.size(), 0);
    const JDIMENSION lines = linesPerStep(cinfo);
    m_stepCount = static_cast<int>((cinfo.output_height + lines - 1) / lines);
}

JpegPlanes::~JpegPlanes() = default;

bool JpegPlanes::decodeStep()
{
    if (!m_decoder->started && !m_decoder->start()) return false;
    std::unique_ptr<Step> step;
    if (!m_spareSteps.empty()) {
        step = std::move(m_spareSteps.back());
        m_spareSteps.pop_back();
    } else {
        const jpeg_decompress_struct& cinfo = m_decoder->cinfo;
        step = std::make_unique<Step>();
        for (int c = 0; c < cinfo.num_components; ++c) {
            const jpeg_component_info& info = cinfo.comp_info[c];
            // Whole MCUs wide: the blocks that pad the last one are decoded too.
            const auto blocks = (info.width_in_blocks + info.h_samp_factor - 1) / info.h_samp_factor *
                                static_cast<JDIMENSION>(info.h_samp_factor);
            const std::size_t stride = blocks * static_cast<std::size_t>(scaledBlockColumns(info));
            const int rows = rowsPerStep(info);
            step->samples.emplace_back(stride * static_cast<std::size_t>(rows));
            step->strides.push_back(stride);
            std::vector<JSAMPROW> pointers;
            for (int r = 0; r < rows; ++r) pointers.push_back(step->samples.back().data() + stride * r);
            step->rows.push_back(std::move(pointers));
        }
        for (auto& pointers : step->rows) step->planes.push_back(pointers.data());
    }
    if (!m_decoder->readStep(step->planes.data())) return false;
    m_steps.push_back(std::move(step));
    ++m_stepsDecoded;
    return m_stepsDecoded < m_stepCount || m_decoder->finish();
}

bool JpegPlanes::readToTheEnd() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return !m_failed && m_stepsDecoded == m_stepCount;
}

void JpegPlanes::dropStepsAllGroupsPassed()
{
    int passed = m_stepCount;
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        passed = std::min(passed, m_nextRow[g] / m_groups[g].rowsPerStep);
    }
    while (m_firstKeptStep < passed && !m_steps.empty()) {
        m_spareSteps.push_back(std::move(m_steps.front()));
        m_steps.pop_front();
        ++m_firstKeptStep;
    }
}

bool JpegPlanes::copyRows(std::size_t group, int top, int count, int left, int width, std::uint8_t* out,
                          std::size_t stride)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    const PlaneGroup& g = m_groups.at(group);
    if (m_failed || top < m_nextRow[group] || count < 1 || top + count > g.height || left < 0 || width < 1 ||
        left + width > g.width) {
        return false;
    }
    const int lastStep = (top + count - 1) / g.rowsPerStep;
    while (m_stepsDecoded <= lastStep) {
        if (!decodeStep()) {
            m_failed = true;
            return false;
        }
    }
    std::array<int, 3> components{};
    int bands = 0;
    for (std::size_t c = 0; c < m_groupOfComponent.size(); ++c) {
        if (m_groupOfComponent[c] == static_cast<int>(group)) components[bands++] = static_cast<int>(c);
    }
    for (int y = top; y < top + count; ++y) {
        const Step& step = *m_steps.at(static_cast<std::size_t>(y / g.rowsPerStep - m_firstKeptStep));
        const int row = y % g.rowsPerStep;
        std::uint8_t* to = out + stride * static_cast<std::size_t>(y - top);
        auto from = [&](int band) {
            const int c = components[band];
            return step.samples[c].data() + step.strides[c] * row + left;
        };
        if (bands == 1) {
            std::memcpy(to, from(0), static_cast<std::size_t>(width));
        } else if (bands == 2) {
            interleavePlanes(from(0), from(1), to, static_cast<std::size_t>(width));
        } else {
            interleavePlanes(from(0), from(1), from(2), to, static_cast<std::size_t>(width));
        }
    }
    m_nextRow[group] = top + count;
    dropStepsAllGroupsPassed();
    return true;
}

}  // namespace voveriz
