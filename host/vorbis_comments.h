// A check of an Ogg Vorbis stream's comment header, made before the stream is
// handed to the decoder: the decoder trusts the header's counts and lengths,
// and a damaged header can make it allocate gigabytes or crash while it
// cleans up.
#pragma once

#include <cstdio>

// Whether the comment header (the packet that starts on the stream's second
// page) is complete and every length in it fits inside it. Reads from the
// current position and returns to it.
bool VorbisCommentsFit(std::FILE* file);
