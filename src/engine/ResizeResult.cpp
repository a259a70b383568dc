#include "engine/ResizeResult.h"

#include <utility>

namespace voveriz {

namespace {

std::string statusOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Resized: return "ok";
    case Outcome::Copied:
    case Outcome::NotAnImage: return "skip";
    case Outcome::Failed: break;
    }
    return "error";
}

std::string sizeText(PixelSize size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// "a.jpg 4032x3024\n   a.jpg 1080x810", "a.png 800x600\n   a.webp 800x600 - converted to WebP",
// "a.jpg 4032x3024\n   a.jpg 1080x810 at quality 74", "a.jpg - already 800px wide, copied as-is", ...
std::string messageOf(const ResizeAccount& account)
{
    switch (account.outcome) {
    case Outcome::Resized:
        return account.source + " " + sizeText(account.sourceSize) + "\n   " + account.written + " "
               + sizeText(account.writtenSize)
               + (account.convertedTo.empty() ? "" : " - converted to " + account.convertedTo)
               + (account.budgetQuality == 0 ? "" : " at quality " + std::to_string(account.budgetQuality));
    case Outcome::Copied: {
        const bool wide = account.dimension == Dimension::Width;
        const std::int64_t measured = wide ? account.sourceSize.width : account.sourceSize.height;
        return account.source + " - already " + std::to_string(measured)
               + (wide ? "px wide, copied as-is" : "px tall, copied as-is");
    }
    case Outcome::NotAnImage: return account.source + " - not an image, skipped";
    case Outcome::Failed: break;
    }
    return account.source + " - " + account.reason;
}

}  // namespace

ResizeResult::ResizeResult(ResizeAccount account)
    : m_account(std::move(account)), m_status(statusOf(m_account.outcome)), m_message(messageOf(m_account))
{
}

ResizeResult ResizeResult::resized(
    std::string source, PixelSize sourceSize, std::string written, PixelSize writtenSize, int budgetQuality)
{
    ResizeAccount account;
    account.outcome = Outcome::Resized;
    account.source = std::move(source);
    account.sourceSize = sourceSize;
    account.written = std::move(written);
    account.writtenSize = writtenSize;
    account.budgetQuality = budgetQuality;
    return ResizeResult(std::move(account));
}

ResizeResult ResizeResult::converted(
    std::string source, PixelSize size, std::string written, std::string format, int budgetQuality)
{
    ResizeAccount account = resized(std::move(source), size, std::move(written), size, budgetQuality).account();
    account.convertedTo = std::move(format);
    return ResizeResult(std::move(account));
}

ResizeResult ResizeResult::copied(std::string source, PixelSize sourceSize, Dimension dimension, std::string written)
{
    ResizeAccount account;
    account.outcome = Outcome::Copied;
    account.source = std::move(source);
    account.sourceSize = sourceSize;
    account.dimension = dimension;
    account.written = std::move(written);
    return ResizeResult(std::move(account));
}

ResizeResult ResizeResult::notAnImage(std::string source)
{
    ResizeAccount account;
    account.outcome = Outcome::NotAnImage;
    account.source = std::move(source);
    return ResizeResult(std::move(account));
}

ResizeResult ResizeResult::failed(std::string source, std::string reason)
{
    ResizeAccount account;
    account.outcome = Outcome::Failed;
    account.source = std::move(source);
    account.reason = std::move(reason);
    return ResizeResult(std::move(account));
}

}  // namespace voveriz
