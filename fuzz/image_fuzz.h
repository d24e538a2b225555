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

namespace fuzzing {

// One file per process (parallel jobs each have their own); it lives only while an input is
// loaded, so a failing input leaves nothing behind.
inline const std::string &PicturePath()
{
    static const std::string path = [] {
        const char *folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/vorla-fuzz-" + std::to_string(getpid());
    }();
    return path;
}

inline bool WritePicture(const uint8_t *data, size_t size)
{
    FILE *file = std::fopen(PicturePath().c_str(), "wb");
    if (!file)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// A 64 x 48 image with a black buffer, made once: loads write into it in place.
inline VLImage &Picture()
{
    static VLImage *image = [] {
        VLImage *made = new VLImage();
        made->SetSize(64, 48);
        return made;
    }();
    return *image;
}

} // namespace fuzzing

inline int LoadPicture(const std::vector<uint8_t> &bytes)
{
    if (!fuzzing::WritePicture(bytes.data(), bytes.size()))
        return 0;
    const char *path = fuzzing::PicturePath().c_str();
    VLImage &image = fuzzing::Picture();
    if (!image.GetPointer())
        __builtin_trap();
    int width = 0, height = 0;
    const int sized = image.GetImageSize(path, &width, &height);
    // Three rectangles: the whole picture at the origin, a part of it hanging off the image at
    // the left, and the largest one, placed so far up that no row lands (every row is dropped).
    // A picture that loads had a size to tell. (Not always its own: a BMP header that tells no
    // rows answers the size, while the load goes on to a later reader.)
    const int loaded = image.LoadImageA(path, 0, 0, 1 << 20, 1 << 20, 0, 0);
    image.LoadImageA(path, 3, 1, 40, 30, -7, 20);
    image.LoadImageA(path, 1, 2, 0x7FFFFFFF, 0x7FFFFFFF, 5, -0x7FFFFFF0);
    unlink(path);
    if (loaded && !sized)
        __builtin_trap();
    return 0;
}
