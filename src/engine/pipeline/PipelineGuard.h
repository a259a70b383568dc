#pragma once

#include <vips/vips8>

#include <mutex>
#include <optional>
#include <utility>

namespace voveriz {

// Holds the process-wide lock under which libvips pipelines are built and released, where this
// libvips needs one (see PipelineGuard.cpp); an empty lock elsewhere.
[[nodiscard]] std::unique_lock<std::mutex> lockPipelineChanges();

// A libvips image whose pipeline is built under that lock and released under it when the last
// handle goes; the pixel work in between runs unlocked. Used for every pipeline the engine builds.
class GuardedImage {
public:
    // build() makes the image, e.g. [&] { return VImage::thumbnail(...); }. Its VError passes through.
    template <typename Build>
    explicit GuardedImage(Build&& build)
    {
        const auto lock = lockPipelineChanges();
        m_image.emplace(std::forward<Build>(build)());
    }
    ~GuardedImage()
    {
        const auto lock = lockPipelineChanges();
        m_image.reset();
    }
    GuardedImage(const GuardedImage&) = delete;
    GuardedImage& operator=(const GuardedImage&) = delete;

    const vips::VImage& operator*() const { return *m_image; }
    const vips::VImage* operator->() const { return &*m_image; }

private:
    std::optional<vips::VImage> m_image;
};

}  // namespace voveriz
