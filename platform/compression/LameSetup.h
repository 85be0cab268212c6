#pragma once

// The set-up every MP3 encoder of the program shares over libmp3lame: the
// compression driver and the project's own liblame_enc.so. Header-only, since
// the encoder library is a shared object of its own.

#include <lame/lame.h>

#include <cstdarg>
#include <cstdint>

namespace sorvella::lame {

// LAME's worst case for one call: 1.25 × samples per channel + 7200 bytes.
inline constexpr std::uint32_t kFixedMargin = 7200;

inline std::uint32_t worstCaseBytes(std::uint32_t samplesPerChannel)
{
    return samplesPerChannel + samplesPerChannel / 4 + kFixedMargin;
}

// LAME prints to standard error by default; the program reports failures itself.
inline void silent(const char*, va_list) {}

// Constant bit rate, no tag: the file is written front to back, so no room is
// kept for a tag that would be filled in at the end. The caller sets the mode
// and any flags of its own, then calls lame_init_params.
inline void setUpConstantBitRate(lame_global_flags* lame, int channels, int inputRate,
                                 int outputRate, int kbps)
{
    lame_set_errorf(lame, silent);
    lame_set_debugf(lame, silent);
    lame_set_msgf(lame, silent);
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, inputRate);
    lame_set_out_samplerate(lame, outputRate);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_bWriteVbrTag(lame, 0);
}

} // namespace sorvella::lame
