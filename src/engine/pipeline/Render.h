#pragma once

#include "engine/metadata/MetadataOptions.h"
#include "engine/plan/ResizePlan.h"
#include "engine/source/OpenSource.h"
#include "engine/source/SourceHeader.h"
#include "engine/source/ThumbnailSource.h"

#include <cstdint>
#include <string>

namespace voveriz {

// The encoded file of a planned scale, or which step failed.
struct Rendering {
    enum class Failure {
        None,
        Decode,  // the source could not be read (or was written to while it was read)
        Encode,  // it decodes, but its output could not be encoded
        OverBudget,  // its output is larger than the plan's maxBytes at every quality allowed
    };
    std::string bytes;
    Failure failure = Failure::None;
    int budgetQuality = 0;  // under a byte budget, the lossy quality chosen (OverBudget: the lowest tried)
    std::uint64_t neededBytes = 0;  // OverBudget: the output's size at that quality
};

// Decodes, scales, turns and encodes source (the open file) as plan says. A JPEG that fails and
// lacks its end marker is read once more with the marker put back: only one whose image data is
// complete then decodes without a single warning; one cut off inside its data meets the marker too
// early ("premature end of data segment") and stays a failure. Under a byte budget a lossy output
// is encoded from the scaled image held in memory at the highest quality that fits
// (highestQualityWithin), a lossless one once. Never throws vips::VError.
Rendering renderPlan(const OpenSource& file, const ThumbnailSource& source, const SourceHeader& header,
                     const ResizePlan& plan, const MetadataOptions& metadata);

}  // namespace voveriz
