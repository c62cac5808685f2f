#pragma once

// A file's bytes read whole, or written whole, in a test that fails when the file cannot be.

#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <string>

namespace orvale::test {

inline std::string Slurp(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(orvale::ReadFileBytes(path, bytes)) << path;
    return bytes;
}

inline void Put(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(orvale::WriteFileSafely(path, bytes)) << path;
}

} // namespace orvale::test
