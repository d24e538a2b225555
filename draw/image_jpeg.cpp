// The JPEG reader: JFIF and Exif files decoded by libjpeg (interface 62) from the picture source.
// Fatal decoder errors come back here through a jump buffer of our own and fail the reader.
#include "image_readers.h"

#if __has_include(<jpeglib.h>)

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// Well beyond any real picture; a header that asks for more (whole-picture buffers of a
// progressive file) fails instead of exhausting memory.
constexpr long MostDecoderMemory = 1024L * 1024 * 1024;
// Real progressive files have a handful of scans; corrupt ones can have thousands of tiny ones.
constexpr int MostScans = 1000;
constexpr size_t SourceBlock = 64 * 1024;

struct ErrorManager {
    jpeg_error_mgr standard;
    jmp_buf jump;
};

void FailDecoder(j_common_ptr decoder)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(decoder->err)->jump, 1);
}

void NoOutput(j_common_ptr) {}

struct Source {
    jpeg_source_mgr manager;
    PictureSource *picture;
    JOCTET block[SourceBlock];
};

void InitSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr decoder)
{
    Source &source = *reinterpret_cast<Source *>(decoder->src);
    size_t got = source.picture->Read(source.block, SourceBlock);
    if (got == 0) {
        // As libjpeg's own file source does: a warning and a made-up end of picture.
        WARNMS(decoder, JWRN_JPEG_EOF);
        source.block[0] = 0xFF;
        source.block[1] = JPEG_EOI;
        got = 2;
    }
    source.manager.next_input_byte = source.block;
    source.manager.bytes_in_buffer = got;
    return TRUE;
}

void SkipSource(j_decompress_ptr decoder, long count)
{
    Source &source = *reinterpret_cast<Source *>(decoder->src);
    if (count <= 0)
        return;
    const size_t skip = static_cast<size_t>(count);
    if (skip <= source.manager.bytes_in_buffer) {
        source.manager.next_input_byte += skip;
        source.manager.bytes_in_buffer -= skip;
        return;
    }
    source.picture->Skip(static_cast<int64_t>(skip - source.manager.bytes_in_buffer));
    source.manager.bytes_in_buffer = 0;
    FillSource(decoder);
}

void TermSource(j_decompress_ptr) {}

void WatchScans(j_common_ptr common)
{
    j_decompress_ptr decoder = reinterpret_cast<j_decompress_ptr>(common);
    if (decoder->input_scan_number > MostScans)
        ERREXIT(decoder, JERR_NOTIMPL);
}

// Every libjpeg call that can fail goes through one of these, each with its own setjmp and no
// object of ours alive across the jump.
bool CreateAndReadHeader(jpeg_decompress_struct &decoder, ErrorManager &errors, Source &source,
                         jpeg_progress_mgr &progress)
{
    decoder.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = FailDecoder;
    errors.standard.output_message = NoOutput;
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&decoder);
    decoder.src = &source.manager;
    decoder.mem->max_memory_to_use = MostDecoderMemory;
    progress.progress_monitor = WatchScans;
    decoder.progress = &progress;
    return jpeg_read_header(&decoder, TRUE) == JPEG_HEADER_OK;
}

bool StartDecoder(jpeg_decompress_struct &decoder, ErrorManager &errors, JSAMPARRAY &row)
{
    if (setjmp(errors.jump))
        return false;
    if (!jpeg_start_decompress(&decoder))
        return false;
    row = (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder), JPOOL_IMAGE,
                                       decoder.output_width * decoder.output_components, 1);
    return true;
}

bool ReadLine(jpeg_decompress_struct &decoder, ErrorManager &errors, JSAMPROW line)
{
    if (setjmp(errors.jump))
        return false;
    return jpeg_read_scanlines(&decoder, &line, 1) == 1;
}

class JpegReader : public PictureReader {
public:
    ~JpegReader() override { Release(); }

    bool ReadHeader(PictureSource &from, PictureInfo &info) override
    {
        Release();
        unsigned char identifier[6];
        if (!from.Seek(6) || !from.ReadAll(identifier, sizeof identifier))
            return false;
        if (std::memcmp(identifier, "JFIF", 4) != 0 && std::memcmp(identifier, "Exif", 4) != 0)
            return false;
        from.Seek(0);
        source = new (std::nothrow) Source();
        if (!source)
            return false;
        source->picture = &from;
        source->manager.init_source = InitSource;
        source->manager.fill_input_buffer = FillSource;
        source->manager.skip_input_data = SkipSource;
        source->manager.resync_to_restart = jpeg_resync_to_restart;
        source->manager.term_source = TermSource;
        std::memset(&decoder, 0, sizeof decoder);
        created = true;
        if (!CreateAndReadHeader(decoder, errors, *source, progress) || decoder.image_width == 0 ||
            decoder.image_height == 0) {
            Release();
            return false;
        }
        info.width = static_cast<int>(decoder.image_width);
        info.height = static_cast<int>(decoder.image_height);
        info.bits = 24;
        return true;
    }

    bool Start() override
    {
        if (!created)
            return false;
#ifdef JCS_EXTENSIONS
        // libjpeg-turbo writes the four bytes of our pixels itself, the spare one as 0xFF.
        if (decoder.out_color_space == JCS_RGB || decoder.out_color_space == JCS_GRAYSCALE)
            decoder.out_color_space = JCS_EXT_RGBX;
#endif
        if (!StartDecoder(decoder, errors, row)) {
            Release();
            return false;
        }
        started = true;
        components = decoder.output_components;
        cmyk = decoder.out_color_space == JCS_CMYK;
        if (components != 1 && components != 3 && components != 4) {
            Release();
            return false;
        }
        return true;
    }

    bool ReadRow(unsigned char *out, int first, int count) override
    {
        if (!started || decoder.output_scanline >= decoder.output_height)
            return false;
        const bool whole = components == 4 && !cmyk && first == 0 &&
                           static_cast<JDIMENSION>(count) == decoder.output_width;
        if (whole)
            return ReadLine(decoder, errors, out);
        if (!ReadLine(decoder, errors, row[0]))
            return false;
        if (count == 0)
            return true; // a row outside the rectangle, read and dropped
        const unsigned char *in = row[0] + static_cast<size_t>(first) * components;
        if (components == 4 && !cmyk) {
            std::memcpy(out, in, static_cast<size_t>(count) * 4);
            return true;
        }
        for (int x = 0; x < count; ++x, out += 4, in += components) {
            if (components == 1) {
                out[0] = out[1] = out[2] = in[0];
            } else if (components == 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {
                // Stored inverted, as Adobe writes CMYK: the colour is the ink left out.
                const unsigned int k = in[3];
                out[0] = static_cast<unsigned char>((in[0] * k + 127) / 255);
                out[1] = static_cast<unsigned char>((in[1] * k + 127) / 255);
                out[2] = static_cast<unsigned char>((in[2] * k + 127) / 255);
            }
            out[3] = 0xFF;
        }
        return true;
    }

private:
    void Release()
    {
        if (created)
            jpeg_destroy_decompress(&decoder);
        created = false;
        started = false;
        row = nullptr;
        delete source;
        source = nullptr;
    }

    jpeg_decompress_struct decoder;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    Source *source = nullptr;
    bool created = false;
    bool started = false;
    JSAMPARRAY row = nullptr;
    int components = 0;
    bool cmyk = false;
};

} // namespace

PictureReader *NewJpegReader()
{
    return new (std::nothrow) JpegReader();
}

#else
// Built without the codec's headers (the Windows compile check): such files are not recognised.

PictureReader *NewJpegReader()
{
    return nullptr;
}

#endif
