// Shared helpers of the image tests: a fresh window system before any image exists, pixel
// access, the picture files under data/ and scratch files.
#pragma once

#include <vorla/VorlaLib.h>
#include <vorla/VLImage.h>

#include "platform/testing/driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace driver = vorla::testing;

// Declared first in a fixture, so the window system is fresh before the images are made.
struct FreshSystem {
    FreshSystem() { driver::Reset(); }
};

struct Rgb {
    int red, green, blue;
};

// Red, green, blue and spare byte of a pixel, straight from the buffer.
inline std::vector<int> BytesAt(VLImage &image, int x, int y)
{
    const unsigned char *p = image.GetPointer() + y * image.GetLineBytes() + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Pixels whose colour (GetPixel) is c.
inline int CountColour(VLImage &image, unsigned long c)
{
    int count = 0;
    for (int y = 0; y < image.GetImageHeight(); ++y)
        for (int x = 0; x < image.GetImageWidth(); ++x)
            count += image.GetPixel(x, y) == c;
    return count;
}

inline std::string DataPath(const std::string &name)
{
    std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/data/" + name;
}

inline std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A file in a scratch folder of this process, removed with the fixture.
class ScratchFiles {
public:
    ScratchFiles()
    {
        char pattern[] = "/tmp/vorla-image-XXXXXX";
        const char *made = mkdtemp(pattern);
        folder = made ? made : "/tmp";
    }
    ~ScratchFiles()
    {
        for (const std::string &file : files)
            std::remove(file.c_str());
        rmdir(folder.c_str());
    }
    std::string Write(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        const std::string path = folder + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        files.push_back(path);
        return path;
    }

private:
    std::string folder;
    std::vector<std::string> files;
};

// A binary PPM (P6, maxval 255) as convert writes it.
struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Rgb At(int x, int y) const
    {
        const uint8_t *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }

    static bool Read(const std::string &path, Ppm &out)
    {
        std::vector<uint8_t> bytes = ReadBytes(path);
        size_t at = 0;
        auto token = [&]() {
            std::string word;
            while (at < bytes.size()) {
                const char c = static_cast<char>(bytes[at]);
                if (c == '#') {
                    while (at < bytes.size() && bytes[at] != '\n')
                        ++at;
                } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
                    if (!word.empty())
                        break;
                    ++at;
                } else {
                    word += c;
                    ++at;
                }
            }
            return word;
        };
        if (token() != "P6")
            return false;
        out.width = std::stoi(token());
        out.height = std::stoi(token());
        if (token() != "255")
            return false;
        ++at; // the one whitespace byte before the samples
        const size_t size = static_cast<size_t>(out.width) * out.height * 3;
        if (bytes.size() < at + size)
            return false;
        out.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
        return true;
    }
};
