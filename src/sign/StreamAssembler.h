#pragma once

#include "core/text/Big5.h"

#include <cstddef>
#include <string_view>

namespace led {

// Collects what one line brings, in pieces cut anywhere, and hands out whole transmissions:
// everything up to the last frame that closes one (an end frame, an insert or news item
// with its zero bytes, a BRIGHT frame with its ETX). What follows waits for more bytes or
// for the caller's idle gap, after which flush() hands it out as it is.
class StreamAssembler
{
public:
    // Past this much held without a closing frame the bytes are handed out anyway, so a
    // line that sends only noise cannot grow the buffer without end.
    static constexpr std::size_t HoldLimit = 1 << 20;

    // The complete part now at hand, empty when there is none yet.
    Bytes feed(std::string_view piece);
    // Everything held.
    Bytes flush();
    bool empty() const { return m_buffer.empty(); }
    std::size_t held() const { return m_buffer.size(); }

private:
    Bytes m_buffer;
};

// Where the complete part of a byte string ends: after the last closing frame, or after
// the line end of the transmission it closes; 0 when nothing is complete.
std::size_t completeLength(std::string_view bytes);

} // namespace led
