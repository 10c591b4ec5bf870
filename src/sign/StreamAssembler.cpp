#include "sign/StreamAssembler.h"

#include "core/protocol/Decoder.h"
#include "core/protocol/Frames.h"

namespace led {
namespace {

bool closesTransmission(const Frame& f)
{
    switch (f.kind) {
    case Frame::Kind::Bright:
        return f.bright && f.bright->etxOk;
    case Frame::Kind::Unknown:
        return false;
    case Frame::Kind::Command:
        break;
    }
    switch (f.code) {
    case CmdEnd:
        return true;
    case CmdInsert:
        return f.insert && f.insert->terminated;
    case CmdNewsCount:
        return f.payload.size() == 2;
    case CmdNewsData:
        return f.payload.size() >= 2 && f.payload.ends_with(std::string_view("\0\0", 2));
    default:
        return false;
    }
}

// Every closing frame ends in one of these bytes: 0B (end frame), 00 (insert and news),
// 03 (ETX). A piece without them cannot complete anything, and the decoding is spared.
bool mayClose(std::string_view piece)
{
    return piece.find_first_of(std::string_view("\x0B\x00\x03", 3)) != std::string_view::npos;
}

} // namespace

std::size_t completeLength(std::string_view bytes)
{
    std::size_t end = 0;
    for (const Transmission& t : decodeTransmissions(bytes)) {
        for (const Frame& f : t.frames)
            if (closesTransmission(f))
                end = f.offset + f.raw.size();
        if (!t.frames.empty() && closesTransmission(t.frames.back()))
            end = t.offset + t.length; // with its CR LF
    }
    return end;
}

Bytes StreamAssembler::feed(std::string_view piece)
{
    m_buffer += piece;
    if (m_buffer.size() >= HoldLimit)
        return flush();
    if (!mayClose(piece))
        return {};
    const std::size_t end = completeLength(m_buffer);
    Bytes done = m_buffer.substr(0, end);
    m_buffer.erase(0, end);
    return done;
}

Bytes StreamAssembler::flush()
{
    Bytes out;
    out.swap(m_buffer);
    return out;
}

} // namespace led
