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

// What a load may cost is set by the rows and columns the image receives, not by the size a
// header claims: rows before them are skipped without being transformed, columns beside them are
// cropped away, and decoding stops after the last of them. Two things remain that a header sizes:
// rows of the full width (at most 65535 samples, a few megabytes), and the coefficients of the
// whole picture that a file of several scans (progressive) must hold until its last scan arrives.
// Those are held to this, which takes a 48-megapixel photograph at the usual 4:2:0 sampling
// (150 MB) and refuses the larger pictures that a header of a few bytes can claim.
constexpr long MostDecoderMemory = 256L * 1024 * 1024;
// Every scan of such a file touches its blocks once, whether the file has data for them or not.
// Real files have about ten scans, each at most a pass over the picture; this allows 16 passes
// over the largest picture that fits in memory (128-byte blocks), many more over smaller ones.
constexpr unsigned long long MostScanBlocks = 16ULL * (MostDecoderMemory / 128);
// However small the picture, corrupt files can have thousands of tiny scans.
constexpr int MostScans = 1000;
constexpr size_t SourceBlock = 64 * 1024;
// Rows and columns decoded beyond the ones kept, in blocks of the most finely sampled component
// (8 pixels times the largest sampling factor). A kept pixel must come out as decoding the whole
// picture gives it, and it depends on its neighbours: chroma upsampling reaches one block further,
// and the smoothing that makes up a progressive picture's missing coefficients two more.
constexpr int MarginBlocks = 4;

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

struct Progress {
    jpeg_progress_mgr manager;
    bool absorbing;    // jpeg_start_decompress is taking in the scans of a multi-scan file
    int scan;          // the last scan counted
    unsigned long long blocks; // blocks the counted scans cover
};

// Called before every step of input; a new scan is counted once, before its blocks are decoded.
void WatchScans(j_common_ptr common)
{
    j_decompress_ptr decoder = reinterpret_cast<j_decompress_ptr>(common);
    Progress &progress = *reinterpret_cast<Progress *>(decoder->progress);
    if (decoder->input_scan_number > MostScans)
        ERREXIT(decoder, JERR_NOTIMPL);
    if (!progress.absorbing || decoder->input_scan_number == progress.scan)
        return;
    progress.scan = decoder->input_scan_number;
    progress.blocks += static_cast<unsigned long long>(decoder->MCUs_per_row) * decoder->MCU_rows_in_scan *
                       static_cast<unsigned long long>(decoder->blocks_in_MCU);
    if (progress.blocks > MostScanBlocks)
        ERREXIT(decoder, JERR_NOTIMPL);
}

// Every libjpeg call that can fail goes through one of these, each with its own setjmp and no
// object of ours alive across the jump.
bool CreateAndReadHeader(jpeg_decompress_struct &decoder, ErrorManager &errors, Source &source,
                         Progress &progress)
{
    decoder.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = FailDecoder;
    errors.standard.output_message = NoOutput;
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&decoder);
    decoder.src = &source.manager;
    decoder.mem->max_memory_to_use = MostDecoderMemory;
    progress = Progress();
    progress.manager.progress_monitor = WatchScans;
    decoder.progress = &progress.manager;
    return jpeg_read_header(&decoder, TRUE) == JPEG_HEADER_OK;
}

bool StartDecoder(jpeg_decompress_struct &decoder, ErrorManager &errors, Progress &progress, JSAMPARRAY &row)
{
    progress.absorbing = jpeg_has_multiple_scans(&decoder) != 0;
    if (setjmp(errors.jump)) {
        progress.absorbing = false;
        return false;
    }
    const boolean started = jpeg_start_decompress(&decoder);
    progress.absorbing = false;
    if (!started)
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

#ifdef LIBJPEG_TURBO_VERSION
// left and width come back widened to where the decoder can start (a whole block column).
bool Crop(jpeg_decompress_struct &decoder, ErrorManager &errors, JDIMENSION &left, JDIMENSION &width)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_crop_scanline(&decoder, &left, &width);
    return true;
}

bool SkipLines(jpeg_decompress_struct &decoder, ErrorManager &errors, JDIMENSION count)
{
    if (setjmp(errors.jump))
        return false;
    return jpeg_skip_scanlines(&decoder, count) == count;
}
#endif

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
        if (!StartDecoder(decoder, errors, progress, row)) {
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

#ifdef LIBJPEG_TURBO_VERSION
    // Without these (a libjpeg of the original interface) every row is decoded whole.
    bool KeepColumns(int first, int count) override
    {
        if (!started || first < 0 || count < 1 || decoder.output_scanline != 0)
            return false;
        const JDIMENSION wide = decoder.output_width;
        const int margin = MarginBlocks * 8 * decoder.max_h_samp_factor;
        const JDIMENSION from = static_cast<JDIMENSION>(first > margin ? first - margin : 0);
        const unsigned long long to = static_cast<unsigned long long>(first) + count + margin;
        if (from >= wide)
            return false;
        JDIMENSION width = (to < wide ? static_cast<JDIMENSION>(to) : wide) - from;
        if (width == wide)
            return true; // nothing to crop
        JDIMENSION left = from;
        if (!Crop(decoder, errors, left, width)) {
            Release();
            return false;
        }
        cropLeft = static_cast<int>(left);
        return true;
    }

    bool SkipRows(int count) override
    {
        if (!started || count < 0)
            return false;
        // The last rows before the kept ones are decoded in full: see MarginBlocks.
        const int margin = MarginBlocks * 8 * decoder.max_v_samp_factor;
        const int skip = count > margin ? count - margin : 0;
        if (skip > 0 && !SkipLines(decoder, errors, static_cast<JDIMENSION>(skip))) {
            Release();
            return false;
        }
        for (int n = skip; n < count; ++n)
            if (!ReadRow(nullptr, 0, 0))
                return false;
        return true;
    }
#endif

    bool ReadRow(unsigned char *out, int first, int count) override
    {
        if (!started || decoder.output_scanline >= decoder.output_height)
            return false;
        if (count == 0)
            return ReadLine(decoder, errors, row[0]); // a row outside the rectangle, read and dropped
        // Columns are counted in the picture; the decoder's rows start at the crop's left edge.
        first -= cropLeft;
        if (count < 0 || first < 0 || static_cast<unsigned long long>(first) + count > decoder.output_width)
            return false;
        const bool whole = components == 4 && !cmyk && first == 0 &&
                           static_cast<JDIMENSION>(count) == decoder.output_width;
        if (whole)
            return ReadLine(decoder, errors, out);
        if (!ReadLine(decoder, errors, row[0]))
            return false;
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
        cropLeft = 0;
        delete source;
        source = nullptr;
    }

    jpeg_decompress_struct decoder;
    ErrorManager errors;
    Progress progress;
    Source *source = nullptr;
    bool created = false;
    bool started = false;
    JSAMPARRAY row = nullptr;
    int cropLeft = 0; // the picture column of the decoder's first output column
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
