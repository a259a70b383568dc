#pragma once

// Helpers for tests that build hostile files by patching the bytes of small real ones.
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace voveriz::testing {

// The CRC-32 of PNG chunks.
inline std::uint32_t crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBigEndian(std::string& bytes, std::size_t at, std::uint32_t value, int length = 4)
{
    for (int i = 0; i < length; ++i) bytes[at + i] = static_cast<char>((value >> (8 * (length - 1 - i))) & 0xFF);
}

inline constexpr const char* kPeakNotMeasured =
    "peak memory not checked: /proc/self/clear_refs cannot be written here, so the peak cannot be reset";

// The highest resident memory of this process since it was last reset (VmHWM), in KiB.
inline long peakMemoryKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// How far resident memory rose above where it stood at the start while runCase ran, in KiB,
// whatever the peak of earlier tests was; nothing where the peak cannot be reset.
template <typename Case>
std::optional<long> ownPeakGrowthKiB(Case runCase)
{
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5" << std::flush;  // resets VmHWM to the memory resident now
    const long start = peakMemoryKiB();
    runCase();
    if (!clearRefs || start < 0) return std::nullopt;
    return peakMemoryKiB() - start;
}

}  // namespace voveriz::testing
