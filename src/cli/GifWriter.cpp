#include "cli/GifWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <gif_lib.h>

#include <array>
#include <limits>

namespace led::cli {
namespace {

// The colours the panel shows first, then a few greys so that anything else lands near.
constexpr std::array<Rgb, 16> Palette = {{
    {0, 0, 0},
    {255, 0, 0},
    {0, 128, 0},
    {255, 255, 0},
    {0, 255, 0},
    {0, 0, 255},
    {255, 255, 255},
    {128, 0, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {128, 128, 128},
    {192, 192, 192},
    {255, 0, 255},
    {0, 255, 255},
}};

std::uint8_t nearest(Rgb c)
{
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        const long dr = c.r - Palette[i].r;
        const long dg = c.g - Palette[i].g;
        const long db = c.b - Palette[i].b;
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

constexpr int MaxDelayCs = 65535;

} // namespace

GifWriter::GifWriter(const std::string& path, int width, int height, int scale)
    : m_width(width), m_height(height), m_scale(scale)
{
    // Opened here rather than by giflib, which creates files for their owner only: an
    // animation gets the usual permissions (umask applies).
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        m_error = path + ": " + std::strerror(errno);
        return;
    }
    int err = 0;
    m_gif = EGifOpenFileHandle(fd, &err);
    if (!m_gif) {
        ::close(fd);
        m_error = GifErrorString(err) ? GifErrorString(err) : "GIF";
        return;
    }
    EGifSetGifVersion(m_gif, true);
    GifColorType colours[Palette.size()];
    for (std::size_t i = 0; i < Palette.size(); ++i)
        colours[i] = {Palette[i].r, Palette[i].g, Palette[i].b};
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(Palette.size()), colours);
    if (EGifPutScreenDesc(m_gif, width * scale, height * scale, 8, 0, map) == GIF_ERROR)
        m_error = "GIF";
    GifFreeMapObject(map);
}

GifWriter::~GifWriter()
{
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
}

std::vector<std::uint8_t> GifWriter::indices(const Picture& picture) const
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(m_width) * m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            out[static_cast<std::size_t>(y) * m_width + x] = nearest(picture.pixel(x, y));
    return out;
}

void GifWriter::emit(int centiseconds)
{
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = centiseconds;
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    const int w = m_width * m_scale;
    const int h = m_height * m_scale;
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_ERROR ||
        EGifPutImageDesc(m_gif, 0, 0, w, h, false, nullptr) == GIF_ERROR) {
        m_error = "GIF";
        return;
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(w));
    for (int y = 0; y < h && ok(); ++y) {
        for (int x = 0; x < w; ++x)
            line[x] = m_pending[static_cast<std::size_t>(y / m_scale) * m_width + x / m_scale];
        if (EGifPutLine(m_gif, line.data(), w) == GIF_ERROR)
            m_error = "GIF";
    }
}

void GifWriter::flush()
{
    if (!m_hasPending)
        return;
    long long cs = m_totalMs / 10 - m_emittedCs;
    // Long stays exceed one frame's delay field: repeat the picture.
    while (cs > MaxDelayCs && ok()) {
        emit(MaxDelayCs);
        cs -= MaxDelayCs;
        m_emittedCs += MaxDelayCs;
    }
    if (cs > 0 && ok()) {
        emit(static_cast<int>(cs));
        m_emittedCs += cs;
    }
    m_hasPending = false;
}

void GifWriter::add(const Picture& picture, int delayMs)
{
    if (!ok())
        return;
    std::vector<std::uint8_t> next = indices(picture);
    if (!m_hasPending || next != m_pending) {
        flush();
        m_pending = std::move(next);
        m_hasPending = true;
    }
    m_totalMs += delayMs > 0 ? delayMs : 0;
}

bool GifWriter::finish()
{
    if (!m_gif)
        return false;
    if (ok()) {
        if (!m_hasPending && m_emittedCs == 0) {
            // Nothing played: one black picture.
            m_pending.assign(static_cast<std::size_t>(m_width) * m_height, 0);
            m_hasPending = true;
        }
        const bool last = m_hasPending;
        const long long before = m_emittedCs;
        flush();
        if (last && m_emittedCs == before && ok())
            emit(0); // the final picture, however short, stays on screen
    }
    int err = 0;
    if (EGifCloseFile(m_gif, &err) == GIF_ERROR && ok())
        m_error = GifErrorString(err) ? GifErrorString(err) : "GIF";
    m_gif = nullptr;
    return ok();
}

} // namespace led::cli
