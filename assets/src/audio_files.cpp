// WAV (16-bit PCM) and Ogg Vorbis output for the synthesised sounds.
#include "image.h"
#include "sounds.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace assetgen {
namespace {

int16_t to_pcm16(float s) {
    return int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
}

void put_u32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xff));
}

void put_u16(std::string& out, uint16_t v) {
    out.push_back(char(v & 0xff));
    out.push_back(char(v >> 8));
}

void write_file(const std::string& path, const std::string& bytes) {
    make_parent_dirs(path);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

void append_page(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

}  // namespace

void write_wav(const std::string& path, const Samples& mono, int rate) {
    const uint32_t data_bytes = uint32_t(mono.size() * 2);
    std::string out;
    out += "RIFF";
    put_u32(out, 36 + data_bytes);
    out += "WAVEfmt ";
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, uint32_t(rate));
    put_u32(out, uint32_t(rate * 2));
    put_u16(out, 2);   // block align
    put_u16(out, 16);  // bits per sample
    out += "data";
    put_u32(out, data_bytes);
    for (float s : mono) put_u16(out, uint16_t(to_pcm16(s)));
    write_file(path, out);
}

void write_ogg(const std::string& path, const Samples& stereo, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, 0.3f)) throw std::runtime_error("cannot set up the Vorbis encoder");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "grounded");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x7a4c0a11);  // a fixed serial keeps the file reproducible

    std::string out;
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) append_page(out, page);

    const size_t frames = stereo.size() / 2;
    const size_t chunk = 4096;
    for (size_t done = 0; done <= frames;) {
        const size_t count = std::min(chunk, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(count));
            for (size_t i = 0; i < count; ++i) {
                buffer[0][i] = stereo[2 * (done + i)];
                buffer[1][i] = stereo[2 * (done + i) + 1];
            }
            vorbis_analysis_wrote(&dsp, int(count));
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) append_page(out, page);
            }
        }
        if (count == 0) break;
        done += count;
    }
    while (ogg_stream_flush(&stream, &page)) append_page(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    write_file(path, out);
}

}  // namespace assetgen
