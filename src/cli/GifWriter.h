#pragma once

#include "core/render/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

namespace led::cli {

// An animated GIF written frame by frame. Each picture is shown for its delay; the GIF
// counts in 10 ms units, so pictures are placed on the rounded running time: a picture
// whose slot rounds to nothing is merged into the next one and the total stays the same.
class GifWriter
{
public:
    GifWriter(const std::string& path, int width, int height, int scale);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }

    void add(const Picture& picture, int delayMs);
    // Writes the last picture and closes the file.
    bool finish();

private:
    std::vector<std::uint8_t> indices(const Picture& picture) const;
    void flush();
    void emit(int centiseconds);

    GifFileType* m_gif = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_scale = 1;
    std::vector<std::uint8_t> m_pending;
    bool m_hasPending = false;
    long long m_totalMs = 0;
    long long m_emittedCs = 0;
    std::string m_error;
};

} // namespace led::cli
