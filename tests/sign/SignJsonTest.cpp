#include "sign/SignJson.h"

#include "core/protocol/Frames.h"
#include "core/text/Cp950.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace led {
namespace {

SignState sample()
{
    SignState s;
    StoredScreen screen;
    screen.text = big5("字幕") + glyphReference(5);
    screen.attributes = Bytes("\x01\x01\x01\x01\x01\x01", 6);
    screen.padding = 16;
    s.screens[12] = screen;
    s.screens[3] = StoredScreen{};
    s.glyphs[1] = Bytes(2, '\x7F');
    s.clock = SignClock{-5, "2024-03-07 14:05:39", 4};
    return s;
}

TEST(SignJson, TextsHexAndOrder)
{
    const QByteArray text = signStateText(sample());
    EXPECT_EQ(text, signStateText(sample()));

    const QJsonObject o = QJsonDocument::fromJson(text).object();
    const QStringList keys = o.keys();
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    // Keys come out in that order in the text too, so files can be compared as text.
    EXPECT_LT(text.indexOf("\"baudCode\""), text.indexOf("\"unit\""));

    const QJsonArray screens = o[QStringLiteral("screens")].toArray();
    ASSERT_EQ(screens.size(), 2);
    EXPECT_EQ(screens[0][QStringLiteral("number")].toInt(), 3);
    const QJsonObject screen = screens[1].toObject();
    EXPECT_EQ(screen[QStringLiteral("number")].toInt(), 12);
    EXPECT_EQ(screen[QStringLiteral("text")].toString(), QStringLiteral("字幕{圖5}"));
    EXPECT_EQ(screen[QStringLiteral("textHex")].toString().toStdString(),
              hexText(big5("字幕") + glyphReference(5)));
    EXPECT_EQ(screen[QStringLiteral("attributes")].toString(), QStringLiteral("01 01 01 01 01 01"));
    EXPECT_EQ(o[QStringLiteral("glyphs")][0][QStringLiteral("code")].toString(),
              QStringLiteral("7F 7F"));
    EXPECT_EQ(o[QStringLiteral("clock")][QStringLiteral("offsetSeconds")].toInt(), -5);
    EXPECT_TRUE(o[QStringLiteral("insert")].isNull());
    EXPECT_EQ(o[QStringLiteral("brightness")][QStringLiteral("slider")].toInt(), 255);
}

} // namespace
} // namespace led
