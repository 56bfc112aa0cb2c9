#include "ogg_writer.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vorbis/vorbisenc.h>

namespace audio {

namespace {

constexpr long kChunk = 4096;  // sample frames handed to the encoder at a time

struct File {
    FILE* f;
    ~File() { std::fclose(f); }
};

// The encoder's state, released in one place whatever happens.
struct Encoder {
    vorbis_info vi;
    vorbis_comment vc;
    vorbis_dsp_state vd;
    vorbis_block vb;
    ogg_stream_state os;
    Encoder(int channels, int rate, float quality, const std::string& title) {
        vorbis_info_init(&vi);
        if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
            vorbis_info_clear(&vi);
            throw std::runtime_error("vorbis encoder refused the format");
        }
        vorbis_comment_init(&vc);
        vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
        vorbis_analysis_init(&vd, &vi);
        vorbis_block_init(&vd, &vb);
        ogg_stream_init(&os, kOggSerial);
    }
    ~Encoder() {
        ogg_stream_clear(&os);
        vorbis_block_clear(&vb);
        vorbis_dsp_clear(&vd);
        vorbis_comment_clear(&vc);
        vorbis_info_clear(&vi);
    }
};

void writePage(FILE* f, const ogg_page& pg) {
    std::fwrite(pg.header, 1, (size_t)pg.header_len, f);
    std::fwrite(pg.body, 1, (size_t)pg.body_len, f);
}

void writeHeaders(Encoder& e, FILE* f) {
    ogg_packet id, comment, code;
    vorbis_analysis_headerout(&e.vd, &e.vc, &id, &comment, &code);
    ogg_stream_packetin(&e.os, &id);
    ogg_stream_packetin(&e.os, &comment);
    ogg_stream_packetin(&e.os, &code);
    ogg_page pg;
    // Audio starts on a fresh page, as the format asks.
    while (ogg_stream_flush(&e.os, &pg)) writePage(f, pg);
}

// Moves every finished block through the encoder into pages on disk; at the
// end, the last partial page too.
void drain(Encoder& e, FILE* f, bool last) {
    ogg_packet op;
    ogg_page pg;
    while (vorbis_analysis_blockout(&e.vd, &e.vb) == 1) {
        vorbis_analysis(&e.vb, nullptr);
        vorbis_bitrate_addblock(&e.vb);
        while (vorbis_bitrate_flushpacket(&e.vd, &op)) {
            ogg_stream_packetin(&e.os, &op);
            while (ogg_stream_pageout(&e.os, &pg)) writePage(f, pg);
        }
    }
    while (last && ogg_stream_flush(&e.os, &pg)) writePage(f, pg);
}

}  // namespace

void writeOggVorbis(const std::string& path, const std::vector<float>& x, int channels, int rate, float quality,
                    const std::string& title) {
    File out{std::fopen(path.c_str(), "wb")};
    if (!out.f) throw std::runtime_error("cannot write " + path);
    Encoder e(channels, rate, quality, title);
    writeHeaders(e, out.f);
    long frames = (long)x.size() / channels;
    for (long at = 0; at < frames; at += kChunk) {
        long n = std::min(kChunk, frames - at);
        float** buf = vorbis_analysis_buffer(&e.vd, (int)n);
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) buf[c][i] = x[(size_t)((at + i) * channels + c)];
        vorbis_analysis_wrote(&e.vd, (int)n);
        drain(e, out.f, false);
    }
    vorbis_analysis_wrote(&e.vd, 0);  // end of stream: the last granule is the true length
    drain(e, out.f, true);
}

}  // namespace audio
