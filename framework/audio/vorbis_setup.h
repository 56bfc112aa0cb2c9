// A look at the codebooks of a Vorbis setup header before the decoder reads
// them, for the tables the decoder would size with arithmetic that overflows.
#pragma once

#include <vector>

// False when a codebook asks for a lookup table the decoder cannot size
// soundly: a lattice (lookup type 1) whose values per dimension it finds
// through powers that leave the int range, a lookup type 2 table of more than
// INT_MAX values, or a table longer than the rest of the packet. True when
// none does, and also for a packet that is no setup header or breaks off
// early, which the decoder refuses by itself.
bool vorbis_codebooks_sizable(const std::vector<unsigned char>& setupPacket);
