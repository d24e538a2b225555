// Untrusted JPEG files through VLImage::LoadImageA and libjpeg.
#include "image_fuzz.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 10 && std::memcmp(&bytes[6], "JFIF", 4) != 0 && std::memcmp(&bytes[6], "Exif", 4) != 0)
        std::memcpy(&bytes[6], "JFIF", 4); // past the identifier test
    return LoadPicture(bytes);
}
