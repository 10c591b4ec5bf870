#include "cli/DemoProject.h"

#include "core/document/CodeTables.h"
#include "core/document/Project.h"
#include "core/text/Attributes.h"
#include "core/text/Cp950.h"

namespace led::cli {
namespace {

struct Piece
{
    const char* utf8;
    std::uint8_t attr;
    bool wide = false;
};

// Text and attributes as the editor would have typed them.
TContect compose(std::initializer_list<Piece> pieces)
{
    TContect c;
    for (const auto& piece : pieces) {
        const Bytes text = big5(piece.utf8);
        for (const auto& e : textElements(text)) {
            const Bytes element = text.substr(e.pos, e.length);
            if (e.length == 1) {
                c.text += element;
                c.attr += static_cast<char>((piece.attr & 0x1F) | AttrSingleByte);
            } else if (piece.wide) {
                const auto w = static_cast<char>(piece.attr | AttrWide);
                const auto w2 = static_cast<char>(piece.attr | AttrWide | AttrWideSecond);
                c.text += element + element;
                c.attr += Bytes{w, w, w2, w2};
            } else {
                c.text += element;
                c.attr += Bytes(2, static_cast<char>(piece.attr));
            }
        }
    }
    return c;
}

void addGlyph(TContect& c, int n)
{
    c.text += glyphReference(n);
    c.attr += "\x01\x01";
}

// A small red heart with a yellow rim, as glyph 0.
void drawHeart(GlyphTable& glyphs)
{
    static const char* rows[16] = {
        "................", "...YYY....YYY...", "..YRRRY..YRRRY..", ".YRRRRRYYRRRRRY.",
        ".YRRRRRRRRRRRRY.", ".YRRRRRRRRRRRRY.", ".YRRRRRRRRRRRRY.", "..YRRRRRRRRRRY..",
        "...YRRRRRRRRY...", "....YRRRRRRY....", ".....YRRRRY.....", "......YRRY......",
        ".......YY.......", "................", "................", "................",
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const char p = rows[y][x];
            glyphs.setPixel(0, x, y, p == 'R' || p == 'Y', p == 'Y' || p == 'G');
        }
}

} // namespace

std::string writeDemoProject(const std::filesystem::path& home)
{
    Project project(home);
    if (auto made = ensureFolder(project.dataFolder()); !made)
        return made.error;
    project.setfilename(project.dataFolder() / "demo.CFG");

    auto& s = project.settings();
    s.colorSet = 2;
    s.signWidth = 10;
    s.machine[0] = 1;
    setCurrentColours(s, ForeRed, BackBlack);

    constexpr std::uint8_t red = AttrForeRed, green = AttrForeGreen,
                           yellow = AttrForeRed | AttrForeGreen;
    auto& doc = project.document();
    struct Screen
    {
        TContect content;
        int front, stay, rear, speed, split;
    };
    TContect thanks = compose({{"謝謝光臨", green}});
    addGlyph(thanks, 0);
    const Screen screens[] = {
        {compose({{"歡迎光臨", red}}), FrontS2I(big5("向左移入")), 3, 255, 1, 0},
        {compose({{"今日特價", yellow}, {" 50% ", red | AttrBackGreen}, {"OFF", yellow}}),
         FrontS2I(big5("覆蓋向上")), 2, RearS2I(big5("向上捲入")), 3, 0},
        {compose({{"大", red, true}, {"字幕機", yellow}}), FrontS2I(big5("跳入")), 4,
         RearS2I(big5("閃爍")), 2, 0},
        {thanks, FrontS2I(big5("立即顯現")), 5, RearS2I(big5("立即消失")), 1, 0},
    };
    int n = 1;
    for (const auto& sc : screens) {
        auto& r = doc.screen(n);
        r.display = 1;
        r.front = sc.front;
        r.stay = sc.stay;
        r.rear = sc.rear;
        r.speed = sc.speed;
        r.split = sc.split;
        doc.content(n) = sc.content;
        ++n;
    }
    drawHeart(project.glyphs());
    project.glyphs().makeAllCodes(project.crtf());

    for (const FileResult& r :
         {project.saveCFG(), project.SaveMsg(), project.writeGra(), project.saveINI()})
        if (!r)
            return r.error;
    return {};
}

} // namespace led::cli
