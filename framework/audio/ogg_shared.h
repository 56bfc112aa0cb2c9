// What the whole-file Ogg reader (ogg.cpp) and the streaming one
// (ogg_stream.cpp) share: the header checks that come before the decoder
// reads anything, its memory, and the conversion of its samples.
#pragma once

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cstddef>
#include <functional>
#include <vector>

using OggBytes = std::vector<unsigned char>;

// The first `count` packets, joined from the segments of the pages in file
// order, as the decoder joins them. Fewer when the pages run out; none when
// they are malformed, or when a page marked as continuing a packet opens one.
std::vector<OggBytes> ogg_first_packets(const OggBytes& file, size_t count);

// True when the identification, comment and setup packets are ones the
// decoder can be handed: every comment length fits its packet and every
// codebook's table can be sized (vorbis_setup.h).
bool ogg_headers_trusted(const std::vector<OggBytes>& headers);

// Opens a decoder through `open` with all of its memory in `arena` (malloc'd;
// the caller frees it after closing the decoder): a stream it gives up on
// half-way then cannot leak, and no stream can make it take more than a cap.
// The block starts large enough for the comment list (the comment packet is
// `commentBytes` long) and doubles while the decoder runs short. `arenaBytes`
// gets the size that worked.
using OggOpener = std::function<stb_vorbis*(const stb_vorbis_alloc& alloc, int* error)>;
stb_vorbis* ogg_open_in_arena(size_t commentBytes, const OggOpener& open, char*& arena, int* arenaBytes);

// A decoded value as a 16-bit sample: scaled by 32768, rounded to nearest,
// limited to the sample range (a damaged stream can decode to anything).
short ogg_sample(float value);
