#pragma once

#include "engine/ResizeImage.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace voveriz::testing {

// A source folder and an output folder, and a check that the engine never changes a source.
class EngineTest : public ::testing::Test {
protected:
    TempDir in;
    TempDir out;

    // Runs the engine on in/name and checks that the source kept its bytes and its time.
    ResizeResult run(const std::string& name, std::int64_t target, const std::string& dimension = "width")
    {
        return runOn(in / name, target, dimension, out.path());
    }

    static ResizeResult runOn(const std::filesystem::path& src, std::int64_t target, const std::string& dimension,
                              const std::filesystem::path& outputDir, const MetadataOptions& metadata = {})
    {
        std::error_code error;
        const bool isFile = std::filesystem::is_regular_file(src, error);
        const std::string before = isFile ? readFile(src) : std::string();
        const auto time = isFile ? std::filesystem::last_write_time(src) : std::filesystem::file_time_type();
        ResizeResult result = resizeImage(src, target, dimension, outputDir, metadata);
        if (isFile) {
            EXPECT_EQ(readFile(src), before) << "the source changed: " << src;
            EXPECT_EQ(std::filesystem::last_write_time(src), time) << "the source was touched: " << src;
        }
        return result;
    }
};

}  // namespace voveriz::testing
