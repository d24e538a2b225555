// Untrusted PICT files (the part after the 512-byte preamble) through VLImage::LoadImageA.
#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> bytes(512, 0);
    bytes.insert(bytes.end(), data, data + size);
    return LoadPicture(bytes);
}
