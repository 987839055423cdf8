// A scene playing, encoded with FFmpeg's libraries: libavformat writes the
// container into the caller's FILE, libavcodec encodes, libswscale turns the
// painted frames (Cairo's 32-bit pixels) into the encoder's pixel format. No
// state between calls.
#include "clip/clip.hpp"

#include "picture/picture.hpp"
#include "record/record.hpp"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Per format: the container, the encoders to try in turn and the pixel format.
struct ClipCodec {
    const char* container;
    const char* encoders[2];
    AVPixelFormat pixels;
};

ClipCodec codec_of(ClipFormat format) {
    switch (format) {
        case CLIP_WEBM:
            return {"webm", {"libvpx-vp9", "libvpx"}, AV_PIX_FMT_YUV420P};
        case CLIP_GIF:
            // A palette of 3-3-2 levels that reach 255 (gif_pixels): the scenes'
            // pure colours exactly.
            return {"gif", {"gif", nullptr}, AV_PIX_FMT_PAL8};
        default:
            return {"mp4", {"libx264", "mpeg4"}, AV_PIX_FMT_YUV420P};
    }
}

const AVCodec* encoder_of(const ClipCodec& codec) {
    for (const char* name : codec.encoders)
        if (name != nullptr)
            if (const AVCodec* found = avcodec_find_encoder_by_name(name)) return found;
    return nullptr;
}

// The container's writes go to the caller's FILE; the errno of the first that
// failed is kept, as the picture writer keeps it.
struct ClipFile {
    FILE* file;
    int fault;
};

int write_packet(void* opaque, std::uint8_t* data, int size) {  // this FFmpeg's signature: not const
    ClipFile& out = *static_cast<ClipFile*>(opaque);
    errno = 0;
    if (std::fwrite(data, 1, static_cast<size_t>(size), out.file) == static_cast<size_t>(size)) return size;
    if (out.fault == 0) out.fault = errno != 0 ? errno : EIO;
    return AVERROR(EIO);
}

// A GIF frame: each of Cairo's 32-bit pixels (0xXXRRGGBB) to the nearest of 8
// red, 8 green and 4 blue levels, evenly spread from 0 to 255 so that black,
// white and the pure colours stay exact; the palette those levels make.
void gif_pixels(const unsigned char* pixels, int stride, AVFrame* frame) {
    auto* palette = reinterpret_cast<std::uint32_t*>(frame->data[1]);
    for (std::uint32_t i = 0; i < 256; ++i) {
        const std::uint32_t r = (i >> 5) * 255 / 7, g = ((i >> 2) & 7) * 255 / 7, b = (i & 3) * 255 / 3;
        palette[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
    for (int y = 0; y < frame->height; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<size_t>(y) * stride);
        std::uint8_t* out = frame->data[0] + static_cast<size_t>(y) * static_cast<size_t>(frame->linesize[0]);
        for (int x = 0; x < frame->width; ++x) {
            const std::uint32_t p = in[x];
            const std::uint32_t r = (((p >> 16) & 0xFF) * 7 + 127) / 255;
            const std::uint32_t g = (((p >> 8) & 0xFF) * 7 + 127) / 255;
            const std::uint32_t b = ((p & 0xFF) * 3 + 127) / 255;
            out[x] = static_cast<std::uint8_t>(r << 5 | g << 2 | b);
        }
    }
}

std::int64_t seek_file(void* opaque, std::int64_t offset, int whence) {
    ClipFile& out = *static_cast<ClipFile*>(opaque);
    if (whence & AVSEEK_SIZE) {
        const long here = std::ftell(out.file);
        if (std::fseek(out.file, 0, SEEK_END) != 0) return -1;
        const long size = std::ftell(out.file);
        std::fseek(out.file, here, SEEK_SET);
        return size;
    }
    return std::fseek(out.file, static_cast<long>(offset), whence & ~AVSEEK_FORCE) == 0 ? std::ftell(out.file)
                                                                                     : -1;
}

// Everything one clip holds, freed together.
struct Encoder {
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
};

void release(Encoder& e) {
    av_packet_free(&e.packet);
    av_frame_free(&e.frame);
    sws_freeContext(e.scaler);
    avcodec_free_context(&e.codec);
    if (e.io != nullptr) av_freep(&e.io->buffer);
    avio_context_free(&e.io);
    avformat_free_context(e.format);
}

// Sends a frame (nullptr: the end) and writes every packet that comes out.
bool encode(Encoder& e, AVFrame* frame) {
    if (avcodec_send_frame(e.codec, frame) < 0) return false;
    for (;;) {
        const int got = avcodec_receive_packet(e.codec, e.packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
        if (got < 0) return false;
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        if (av_interleaved_write_frame(e.format, e.packet) < 0) return false;
    }
}

bool open_encoder(Encoder& e, const ClipRequest& r, ClipFormat format, ClipFile& out) {
    const ClipCodec codec = codec_of(format);
    const AVCodec* encoder = encoder_of(codec);
    if (encoder == nullptr || avformat_alloc_output_context2(&e.format, nullptr, codec.container, nullptr) < 0)
        return false;
    constexpr int IO_BUFFER = 1 << 16;
    auto* buffer = static_cast<unsigned char*>(av_malloc(IO_BUFFER));
    e.io = avio_alloc_context(buffer, IO_BUFFER, 1, &out, nullptr, write_packet, seek_file);
    if (e.io == nullptr) {
        av_free(buffer);
        return false;
    }
    e.format->pb = e.io;
    e.format->flags |= AVFMT_FLAG_CUSTOM_IO;
    e.stream = avformat_new_stream(e.format, nullptr);
    e.codec = avcodec_alloc_context3(encoder);
    if (e.stream == nullptr || e.codec == nullptr) return false;
    e.codec->width = r.width;
    e.codec->height = r.height;
    e.codec->time_base = AVRational{1, r.rate};
    e.codec->framerate = AVRational{r.rate, 1};
    e.codec->pix_fmt = codec.pixels;
    e.codec->gop_size = r.rate;
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Thin lines on white: a quality that keeps them sharp.
    if (std::strcmp(encoder->name, "libx264") == 0) av_opt_set(e.codec->priv_data, "crf", "18", 0);
    if (std::strncmp(encoder->name, "libvpx", 6) == 0) {
        av_opt_set(e.codec->priv_data, "crf", "20", 0);
        e.codec->bit_rate = 0;
    }
    if (avcodec_open2(e.codec, encoder, nullptr) < 0) return false;
    if (avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0) return false;
    e.stream->time_base = e.codec->time_base;
    // Cairo's 0xXXRRGGBB words lie in memory as B, G, R, X on this little-endian machine.
    if (codec.pixels != AV_PIX_FMT_PAL8) {
        e.scaler = sws_getContext(r.width, r.height, AV_PIX_FMT_BGR0, r.width, r.height, codec.pixels, SWS_POINT,
                                  nullptr, nullptr, nullptr);
        if (e.scaler == nullptr) return false;
    }
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (e.frame == nullptr || e.packet == nullptr) return false;
    e.frame->format = codec.pixels;
    e.frame->width = r.width;
    e.frame->height = r.height;
    return av_frame_get_buffer(e.frame, 0) >= 0 && avformat_write_header(e.format, nullptr) >= 0;
}

}  // namespace

const char* clip_refusal(const ClipRequest& r, ClipFormat format) {
    if (encoder_of(codec_of(format)) == nullptr) return "this FFmpeg has no encoder for that kind of clip";
    if (format != CLIP_GIF && (r.width % 2 != 0 || r.height % 2 != 0))
        return "a video's width and height must be even";
    if (r.rate < CLIP_RATE_MIN || r.rate > CLIP_RATE_MAX) return "the frame rate must be from 1 to 60";
    if (r.last_step < r.first_step) return "the last step comes before the first";
    return nullptr;
}

int write_clip(const ClipRequest& r, ClipFormat format, FILE* file) {
    av_log_set_level(AV_LOG_ERROR);  // the encoders' chatter is not the user's business; their errors are
    ClipFile out = {file, 0};
    Encoder e;
    bool ok = open_encoder(e, r, format, out);
    const int stride = r.width * 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(r.height));
    // The first frame from the state --render starts from; each later one the
    // next step, as playing draws it.
    set_scene_state(r.scene, r.first_step, r.zoom);
    for (int step = r.first_step; ok && step <= r.last_step; ++step) {
        record_scene_frame(r.width, r.height);
        ok = paint_record_pixels(frame_record, pixels.data(), stride) == 0 &&
             av_frame_make_writable(e.frame) >= 0;
        if (!ok) break;
        const std::uint8_t* source[1] = {pixels.data()};
        const int source_stride[1] = {stride};
        if (e.scaler != nullptr)
            sws_scale(e.scaler, source, source_stride, 0, r.height, e.frame->data, e.frame->linesize);
        else
            gif_pixels(pixels.data(), stride, e.frame);
        e.frame->pts = step - r.first_step;
        ok = encode(e, e.frame);
    }
    ok = ok && encode(e, nullptr) && av_write_trailer(e.format) >= 0;
    if (e.io != nullptr) avio_flush(e.io);
    release(e);
    errno = 0;
    if (ok && std::fflush(file) != 0) return errno != 0 ? errno : EIO;
    if (!ok) return out.fault != 0 ? out.fault : EIO;
    return 0;
}
