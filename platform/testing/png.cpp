// PNG files of framebuffers, through libpng: snapshots, goldens and screenshots.
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vorla::platform {

bool WritePng(const std::string &path, const uint32_t *pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0) return false;
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const uint32_t *src = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
            for (int x = 0; x < width; ++x) {
                row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(src[x] >> 16);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(src[x] >> 8);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(src[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    std::fclose(file);
    return ok;
}

bool ReadPng(const std::string &path, std::vector<uint32_t> &pixels, int &width, int &height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (static_cast<uint32_t>(buffer[i * 3]) << 16) | (static_cast<uint32_t>(buffer[i * 3 + 1]) << 8) |
                    buffer[i * 3 + 2];
    return true;
}

} // namespace vorla::platform
