#include "core/document/Document.h"
#include "core/document/Settings.h"
#include "core/text/Cp950.h"

#include <gtest/gtest.h>

namespace led {
namespace {

TEST(Document, ResetGivesEveryScreenItsDefaults)
{
    Document doc;
    doc.screen(7) = {1, 1, 9, 5, 6, 3, 17, 2};
    doc.content(7) = {"ab", "AA"};
    doc.records()[255].speed = 9;
    doc.pairs()[256] = {"x", "A"};
    doc.resetDocument();
    for (int n = 1; n <= ScreenCount; ++n) {
        const auto& r = doc.screen(n);
        EXPECT_EQ(r.speed, 1);
        EXPECT_EQ(r.stay, 0);
        EXPECT_EQ(r.front, 0);
        EXPECT_EQ(r.rear, 255);
        EXPECT_EQ(r.split, 0);
        EXPECT_EQ(r.display, 0);
        EXPECT_EQ(r.allWide, 0);
        EXPECT_TRUE(doc.content(n).text.empty());
    }
    EXPECT_EQ(doc.records()[255], TScreenRec{});
    EXPECT_EQ(doc.pairs()[256].text, "x"); // pairs 0..255 only
}

TEST(Document, SparesCannotBeAddressedAsScreens)
{
    Document doc;
    EXPECT_FALSE(Document::isScreen(0));
    EXPECT_FALSE(Document::isScreen(255));
    EXPECT_TRUE(Document::isScreen(254));
    EXPECT_THROW(doc.screen(257), std::out_of_range);
}

TEST(Settings, UnitSelectionRuleAndPanelText)
{
    TSystemparameter s;
    EXPECT_EQ(unitPanelText(s), "傳送台數: 0");
    applyUnitSelectionRule(s);
    EXPECT_EQ(s.machine[0], 1);

    TSystemparameter t;
    t.machine[3] = 1;
    t.machine[200] = 1;
    t.machine[5] = 2; // only 1 selects
    applyUnitSelectionRule(t);
    EXPECT_EQ(t.machine[0], 0);
    EXPECT_EQ(unitPanelText(t), "傳送台數: 3 200 ");
}

TEST(Settings, CurrentColoursFromCaptions)
{
    TSystemparameter s;
    EXPECT_EQ(currentForeButton(s), -1);
    setCurrentColours(s, ForeYellow, BackGreen);
    EXPECT_EQ(currentForeButton(s), ForeYellow);
    EXPECT_EQ(currentBackButton(s), BackGreen);
    EXPECT_EQ(s.colourCaptions[ForeYellow], big5("前景"));
    EXPECT_TRUE(s.colourCaptions[ForeRed].empty());
}

} // namespace
} // namespace led
