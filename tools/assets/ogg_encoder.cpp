// The libvorbisenc encoding loop: headers, analysis blocks and Ogg pages.
#include "tools/assets/ogg_encoder.h"

#include <algorithm>
#include <stdexcept>

#include <vorbis/vorbisenc.h>

namespace assets {
namespace {

void append_page(std::vector<std::uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// FNV-1a of the name: a fixed serial number per file.
int serial_of(const std::string& name)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : name) {
        h = (h ^ c) * 16777619u;
    }
    return static_cast<int>(h & 0x7FFFFFFF);
}

} // namespace

std::vector<std::uint8_t> encode_ogg_vorbis(const std::vector<float>& samples, int rate,
                                            float quality, const std::string& name)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("the Vorbis encoder refuses rate " + std::to_string(rate));
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", name.c_str());
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial_of(name));

    std::vector<std::uint8_t> out;
    ogg_page page;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ogg_stream_flush(&stream, &page) != 0) {
        append_page(out, page);
    }

    const std::size_t frames = samples.size() / 2;
    constexpr std::size_t kChunk = 1024;
    std::size_t done = 0;
    bool finished = false;
    while (!finished) {
        const std::size_t n = std::min(kChunk, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0); // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (std::size_t i = 0; i < n; ++i) {
                buffer[0][i] = samples[(done + i) * 2];
                buffer[1][i] = samples[(done + i) * 2 + 1];
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append_page(out, page);
                    if (ogg_page_eos(&page) != 0) {
                        finished = true;
                    }
                }
            }
        }
        if (n == 0) {
            finished = true;
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        append_page(out, page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

} // namespace assets
