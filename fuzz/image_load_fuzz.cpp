// Untrusted picture files of any kind through VLImage::LoadImageA and GetImageSize: every reader
// in turn sees the bytes, as with a file an application was given without knowing its format.
#include "image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return LoadPicture(std::vector<uint8_t>(data, data + size));
}
