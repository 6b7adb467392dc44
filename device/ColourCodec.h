#pragma once
// Stored colours are red | green << 8 | blue << 16 (the profile's
// dpi_group%d_rgb and a light record's color_value1..7). On the wire a colour
// is the three bytes red, green, blue, in that order.

#include <cstddef>
#include <cstdint>

#include "device/ReportFrame.h"

namespace mouseproto {

// Writes the stored colour as red, green, blue at offset..offset+2.
void PutColour(ReportFrame& frame, std::size_t offset, int stored);

// Rebuilds a stored colour from the three reply bytes at offset.
int ColourAt(const ReportReply& reply, std::size_t offset);

// The same into a plain byte buffer (the simulated mouse's replies).
void PutColourBytes(std::uint8_t* bytes, int stored);

}  // namespace mouseproto
