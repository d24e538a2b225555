// Shared by the picture reader targets: the bytes become a file that an image loads, as an
// application would load a picture it was given. Nothing may read or write outside the buffers.
#pragma once

#include <vorla/VLImage.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

inline int LoadPicture(const std::vector<uint8_t> &bytes)
{
    static VLImage *image = [] {
        VLImage *made = new VLImage();
        made->SetSize(64, 48);
        return made;
    }();
    static const std::string path = [] {
        const char *folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/vorla-fuzz-" + std::to_string(getpid());
    }();
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    int width = 0, height = 0;
    image->GetImageSize(path.c_str(), &width, &height);
    // Two rectangles: the whole picture at the origin, and a part of it hanging off the image.
    image->LoadImageA(path.c_str(), 0, 0, 1 << 20, 1 << 20, 0, 0);
    image->LoadImageA(path.c_str(), 3, 1, 40, 30, -7, 20);
    return 0;
}
