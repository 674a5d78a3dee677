#include "tools/artgen/Audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace artgen {

bool EncodeOgg(const TSound& sound, float quality, int serial, std::string& out,
               std::string* error) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, sound.Channels, kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        if (error) *error = "the Vorbis encoder refused its settings";
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Velm Orra");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    ogg_page og;
    ogg_packet op;
    auto writePage = [&out](const ogg_page& page) {
        out.append(reinterpret_cast<const char*>(page.header),
                   static_cast<size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    };
    {
        ogg_packet header, comments, codebooks;
        vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
        ogg_stream_packetin(&os, &header);
        ogg_stream_packetin(&os, &comments);
        ogg_stream_packetin(&os, &codebooks);
        while (ogg_stream_flush(&os, &og) != 0) writePage(og);
    }
    const int frames = sound.Frames();
    constexpr int kChunk = 4096;
    bool eos = false;
    for (int start = 0; !eos;) {
        const int n = std::min(kChunk, frames - start);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                for (int ch = 0; ch < sound.Channels; ++ch)
                    buffer[ch][i] =
                        sound.Samples[static_cast<size_t>((start + i) * sound.Channels + ch)];
            vorbis_analysis_wrote(&vd, n);
            start += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op) != 0) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    writePage(og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
        if (n <= 0 && !eos) {
            while (ogg_stream_flush(&os, &og) != 0) writePage(og);
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}

} // namespace artgen
