#pragma once

#include "engine/ResizeResult.h"
#include "engine/metadata/MetadataOptions.h"
#include "engine/plan/Dimension.h"
#include "engine/plan/OutputChoice.h"
#include "engine/plan/SizeRule.h"

#include <cstdint>
#include <filesystem>

namespace voveriz {

// Resizes one file into outputDir so that its chosen side (dimension) equals target (>= 1), or
// copies it unchanged when that side is already no larger than target.
// Never throws, never overwrites, never leaves a partial file, never changes src; every outcome
// is a ResizeResult. Safe to call from several threads at once. metadata says what a resized file
// keeps of the source's metadata; a copy is always the source's bytes.
ResizeResult resizeImage(const std::filesystem::path& src, std::int64_t target, Dimension dimension,
                         const std::filesystem::path& outputDir, const MetadataOptions& metadata = {});

// The same with the side chosen by rule for each image (sideTargetFor): its longer side, or within
// a box, ...
ResizeResult resizeImage(const std::filesystem::path& src, const SizeRule& rule, const std::filesystem::path& outputDir,
                         const MetadataOptions& metadata = {});

// The same with the outputs' format and quality as choice says: under a format, an image within
// the rule that is stored in another format is written in it at its own size (its result says it
// was converted); one already in that format is copied.
ResizeResult resizeImage(const std::filesystem::path& src, const SizeRule& rule, const std::filesystem::path& outputDir,
    const MetadataOptions& metadata, const OutputChoice& choice);

}  // namespace voveriz
