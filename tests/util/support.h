// Shared helpers of the utility tests: a temporary folder that cleans up after itself, and small
// file helpers.
#pragma once

#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace driver = vorla::testing;
namespace fs = std::filesystem;

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "vorla-util-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()))
            path_ = name.data();
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const fs::path &Path() const { return path_; }
    std::string operator/(const std::string &relative) const { return (path_ / relative).string(); }

private:
    fs::path path_;
};

inline void WriteFile(const std::string &path, const std::string &bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes 0, 1, ..., 250, 0, 1, ...: a pattern in which a shifted or repeated block shows.
inline std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

// Runs the body with the working folder set to dir, then goes back.
template <typename Body>
void InFolder(const fs::path &dir, Body body)
{
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    body();
    fs::current_path(previous);
}
