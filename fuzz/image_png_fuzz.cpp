// Untrusted PNG files through VLImage::LoadImageA and libpng.
#include "image_fuzz.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 8)
        std::memcpy(bytes.data(), signature, 8);
    return LoadPicture(bytes);
}
