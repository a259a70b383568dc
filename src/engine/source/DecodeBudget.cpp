#include "engine/source/DecodeBudget.h"

namespace voveriz {

std::unique_lock<std::mutex> takeHeldDecodeTurn(bool heldWhole, std::int64_t width, std::int64_t height)
{
    static std::mutex turn;
    if (!heldWhole || width * height <= kMaxHeldPixelsAtOnce) return {};
    return std::unique_lock(turn);
}

}  // namespace voveriz
