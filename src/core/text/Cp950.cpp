#include "core/text/Cp950.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace led {
namespace {

class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

    // Converts a piece; stops at the first byte it cannot take. Returns the bytes used.
    std::size_t convert(std::string_view in, std::string& out)
    {
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        std::vector<char> buffer(in.size() * 4 + 16);
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            break;
        }
        return in.size() - inLeft;
    }

private:
    iconv_t m_cd;
};

} // namespace

std::string cp950ToUtf8(std::string_view big5)
{
    Converter cv("UTF-8", "CP950");
    std::string out;
    if (!cv.valid())
        return out;
    std::size_t pos = 0;
    while (pos < big5.size()) {
        pos += cv.convert(big5.substr(pos), out);
        if (pos >= big5.size())
            break;
        // A byte that starts no character: show a replacement and go on with the
        // next element, so one bad pair does not hide the rest of the line.
        out += "\xEF\xBF\xBD";
        const auto lead = static_cast<unsigned char>(big5[pos]);
        pos += (lead >= 0x81 && lead <= 0xFE && pos + 1 < big5.size()) ? 2 : 1;
        cv.reset();
    }
    return out;
}

std::optional<std::string> utf8ToCp950(std::string_view utf8)
{
    Converter cv("CP950", "UTF-8");
    if (!cv.valid())
        return std::nullopt;
    std::string out;
    if (cv.convert(utf8, out) != utf8.size())
        return std::nullopt;
    return out;
}

std::string big5(std::string_view utf8)
{
    auto converted = utf8ToCp950(utf8);
    return converted ? *converted : std::string(utf8);
}

} // namespace led

#include "core/text/Big5.h"

namespace led {

std::string textForDisplay(std::string_view text)
{
    std::string out;
    std::size_t runStart = 0;
    auto flush = [&](std::size_t end) {
        out += cp950ToUtf8(text.substr(runStart, end - runStart));
    };
    for (const auto& e : textElements(text)) {
        if (e.length == 2 && static_cast<std::uint8_t>(text[e.pos]) == GlyphLeadByte) {
            flush(e.pos);
            out += "{圖" + std::to_string(glyphNumber(static_cast<std::uint8_t>(text[e.pos + 1]))) +
                   "}";
            runStart = e.pos + 2;
        }
    }
    flush(text.size());
    return out;
}

} // namespace led
