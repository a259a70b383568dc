#pragma once

#include "engine/plan/Dimension.h"
#include "engine/plan/OutputChoice.h"
#include "engine/plan/OutputFormat.h"
#include "engine/plan/ThumbnailRequest.h"
#include "engine/source/SourceHeader.h"

#include <cstdint>
#include <optional>
#include <string>

namespace voveriz {

// What becomes of one image, decided from its header alone: nothing is read or written.
struct ResizePlan {
    enum class Action {
        Copy, // the chosen side is already no larger than the target (and the format and bytes are as asked)
        Scale, // to width x height, in output, under outputName (converted: at its own size)
        Refuse,  // a side would fall below 1 pixel, or decoding it is beyond the budget
    };
    Action action = Action::Refuse;
    std::int64_t width = 0;  // Scale: the output's size as the user sees it
    std::int64_t height = 0;
    OutputFormat output{ImageFormat::Jpeg, "jpg"};
    std::string outputName;    // Scale: the source's base name with the output's extension
    ThumbnailRequest request;  // Scale: what the pipeline makes, as stored
    bool turn = false;         // Scale: turned upright after scaling
    bool heldWhole = false;    // Scale: its decoder holds it whole (a progressive JPEG, ...)
    bool converted = false; // Scale: within the target, written at its own size in another format
    std::uint64_t maxBytes = 0; // Scale: the most bytes its file may take (0: no limit)
};

// The plan for the image named name (its extension picks the output format) so that its side
// dimension, as the user sees it, becomes target (>= 1). Every frame of an animation that stays a
// GIF, else the first. A turned photo is scaled as stored (height x width when its orientation
// swaps the sides) and turned upright afterwards.
// With a format in choice every output is in it; an image within the target is copied only when
// it is stored in that format (storedFormat) under one of its extensions, else converted. Under a
// byte budget, one whose file (storedBytes long) is over it is encoded at its own size instead.
ResizePlan planResize(const SourceHeader& header, const std::string& name, std::int64_t target, Dimension dimension,
    const OutputChoice& choice = {}, std::optional<ImageFormat> storedFormat = std::nullopt,
    std::uint64_t storedBytes = 0);

}  // namespace voveriz
