// Untrusted BMP files through VLImage::LoadImageA and GetImageSize.
#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 2) { // always a BMP to the first reader
        bytes[0] = 'B';
        bytes[1] = 'M';
    }
    return LoadPicture(bytes);
}
