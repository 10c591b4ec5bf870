#include "core/document/Project.h"
#include "core/text/Cp950.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace led {
namespace {

namespace fs = std::filesystem;

class ProjectTest : public ::testing::Test
{
protected:
    fs::path data(const std::string& name) const { return dir.path() / "DATA" / name; }
    bool exists(const std::string& name) const { return fs::exists(data(name)); }
    Bytes read(const std::string& name) const { return readFileBytes(data(name)).value_or(""); }

    test::TempDir dir;
};

TEST_F(ProjectTest, SetFilenameDerivesNamesPathsAndTitle)
{
    Project p(dir.path());
    p.setfilename(data("abc.x.CFG"));
    const auto& s = p.settings();
    EXPECT_EQ(s.projectName, "abc");
    EXPECT_EQ(s.cfgPath, data("abc.CFG"));
    EXPECT_EQ(s.msgPath, data("abc.MSG"));
    EXPECT_EQ(s.graPath, data("abc.GRA"));
    EXPECT_EQ(s.schPath, data("abc.SCH"));
    EXPECT_EQ(s.intPath, data("abc.INT"));
    EXPECT_EQ(p.title(), "中文字幕機傳送程式 _" + (dir.path() / "DATA").string() + "/abc");
    EXPECT_EQ(p.lastFile(), data("abc.x.CFG"));
    EXPECT_FALSE(p.isUnnamed());

    p.setfilename(data("未命名.CFG"));
    EXPECT_TRUE(p.isUnnamed());
    EXPECT_EQ(p.unitPanel(), "傳送台號: 0");
}

TEST_F(ProjectTest, StartUpWithoutFilesIsTheUnnamedProject)
{
    Project p(dir.path());
    const auto r = p.startUp();
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(fs::is_directory(dir.path() / "DATA")); // created
    EXPECT_TRUE(p.isUnnamed());
    EXPECT_EQ(p.settings().colorSet, 1);
    EXPECT_EQ(p.settings().machine[0], 1);
    EXPECT_EQ(p.unitPanel(), "傳送台號: 0");
    EXPECT_EQ(currentForeButton(p.settings()), ForeRed);
    EXPECT_EQ(currentBackButton(p.settings()), BackBlack);
    EXPECT_TRUE(p.document().saved());
    EXPECT_TRUE(p.crtf());
}

TEST_F(ProjectTest, SavingTheUnnamedProjectUnderANameWritesTheWholeSet)
{
    Project p(dir.path());
    p.startUp();
    int committed = 0;
    p.commitRows = [&] { ++committed; };
    p.document().content(1) = {"hi", "AA"};
    p.document().setSaved(false);

    ASSERT_TRUE(p.saveNeedsDialog());
    const auto r = p.save(data("abc.CFG"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.message, "存檔成功！");
    EXPECT_EQ(r.target, MessageTarget::StatusPanel);
    EXPECT_EQ(committed, 1);
    for (const char* f : {"abc.CFG", "abc.MSG", "abc.SCH", "abc.INT", "abc.GRA", "BAKART.INI"})
        EXPECT_TRUE(exists(f)) << f;
    EXPECT_EQ(read("abc.GRA").size(), 60800u);
    EXPECT_EQ(p.settings().projectName, "abc");
    EXPECT_TRUE(p.document().saved());
    EXPECT_FALSE(exists("未命名.MSG"));
    EXPECT_FALSE(exists("未命名.CFG"));

    // The next start opens it.
    Project next(dir.path());
    next.startUp();
    EXPECT_EQ(next.settings().projectName, "abc");
    EXPECT_EQ(next.readMsg().ok, true);
    EXPECT_EQ(next.document().content(1).text, "hi");
}

TEST_F(ProjectTest, BadNamesAreRefusedWithTheirMessages)
{
    const std::optional<fs::path> choices[] = {std::nullopt, data(".CFG"), data("未命名.CFG"),
                                               dir.path() / "elsewhere" / ".x.CFG"};
    for (const auto& chosen : choices) {
        Project p(dir.path());
        p.startUp();
        auto r = p.save(chosen);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, "檔案命名錯誤，請輸入檔名！");
        EXPECT_EQ(r.target, MessageTarget::Box);
        r = p.saveAs(chosen);
        EXPECT_EQ(r.message, "請輸入檔名!");
        r = p.saveOnClose(chosen);
        EXPECT_EQ(r.message, "檔案命名錯誤，請輸入檔名！");
        EXPECT_TRUE(p.isUnnamed());
    }
    EXPECT_FALSE(exists("BAKART.INI"));
    EXPECT_FALSE(exists(".MSG"));
}

TEST_F(ProjectTest, SaveAsRemembersTheCfgPath)
{
    Project p(dir.path());
    p.startUp();
    p.setfilename(data("old.CFG"));
    const auto r = p.saveAs(data("abc"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(exists("abc.CFG"));
    EXPECT_TRUE(exists("abc.GRA"));
    EXPECT_EQ(p.lastFile(), data("abc.CFG"));
    Project next(dir.path());
    next.startUp();
    EXPECT_EQ(next.settings().cfgPath, data("abc.CFG"));
}

TEST_F(ProjectTest, NamedSaveWritesNoGlyphFile)
{
    Project p(dir.path());
    p.startUp();
    p.setfilename(data("named.CFG"));
    const auto r = p.save();
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.message, "存檔成功！");
    EXPECT_TRUE(exists("named.MSG"));
    EXPECT_FALSE(exists("named.GRA"));
}

TEST_F(ProjectTest, AFailedSaveIsReportedAndTheOldFileStays)
{
    Project p(dir.path());
    p.startUp();
    p.setfilename(data("abc.CFG"));
    ASSERT_TRUE(p.save().ok);
    const Bytes before = read("abc.MSG");
    fs::remove(data("abc.CFG"));
    fs::create_directory(data("abc.CFG")); // a folder where the file should be

    p.document().content(1) = {"new", "AAA"};
    p.document().setSaved(false);
    const auto r = p.save();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.rfind("存檔失敗！\n", 0), 0u) << r.message;
    EXPECT_NE(r.message.find("abc.CFG"), std::string::npos);
    EXPECT_EQ(r.target, MessageTarget::Box);
    EXPECT_NE(read("abc.MSG"), before); // the .MSG itself was written
    EXPECT_TRUE(p.document().saved());
}

TEST_F(ProjectTest, MsgFailureLeavesDocumentUnsaved)
{
    Project p(dir.path());
    p.startUp();
    p.setfilename(data("abc.CFG"));
    fs::create_directories(data("abc.MSG"));
    p.document().setSaved(false);
    const auto r = p.save();
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(p.document().saved());
    EXPECT_NE(r.message, "存檔成功！");
}

TEST_F(ProjectTest, CloseAsksOnlyWhatItMust)
{
    Project p(dir.path());
    p.startUp();
    EXPECT_TRUE(p.closeNeedsSaveQuestion()); // unnamed
    p.setfilename(data("abc.CFG"));
    EXPECT_FALSE(p.closeNeedsSaveQuestion()); // named and unchanged
    p.document().setSaved(false);
    EXPECT_TRUE(p.closeNeedsSaveQuestion());

    const auto r = p.saveOnClose();
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.written.size(), 1u);
    EXPECT_EQ(r.written[0], data("abc.MSG"));
    const auto done = p.finishClose();
    EXPECT_TRUE(done.ok);
    EXPECT_TRUE(exists("BAKART.INI"));
    EXPECT_TRUE(exists("abc.CFG"));
}

TEST_F(ProjectTest, UnnamedProjectSavesNothingOfItsOwn)
{
    Project p(dir.path());
    p.startUp();
    EXPECT_TRUE(p.SaveMsg());
    EXPECT_TRUE(p.saveCFG());
    EXPECT_FALSE(exists("未命名.MSG"));
    EXPECT_FALSE(exists("未命名.CFG"));
}

TEST_F(ProjectTest, OpenReadsTheSetWithItsSideFiles)
{
    {
        Project p(dir.path());
        p.startUp();
        p.setfilename(data("abc.CFG"));
        p.settings().port = 4;
        p.settings().machine[0] = 0;
        p.settings().machine[7] = 1;
        p.document().content(3) = {"\xA4\xA4", "\x05\x05"};
        p.glyphs().setPixel(99, 15, 15, true, true);
        ASSERT_TRUE(p.saveAs(data("abc.CFG")).ok);
    }
    {
        WeeklySchedule schedule;
        schedule.rows[2].inUse = true;
        ASSERT_TRUE(schedule.save(data("abc.SCH")));
        InsertBook book;
        book.manual[0] = "\xA4\xA4";
        book.insertCount = 33;
        ASSERT_TRUE(book.save(data("abc.INT")));
    }

    Project q(dir.path());
    q.startUp();
    q.newProject();
    int reloaded = 0;
    q.reloadRows = [&] { ++reloaded; };
    EXPECT_TRUE(q.open(std::nullopt).ok); // cancelled: nothing happens
    EXPECT_TRUE(q.isUnnamed());
    const auto r = q.open(data("abc.CFG"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_GE(reloaded, 1);
    EXPECT_EQ(q.settings().port, 4);
    EXPECT_EQ(q.unitPanel(), "傳送台數: 7 ");
    EXPECT_EQ(q.document().content(3).attr, "\x05\x05");
    EXPECT_TRUE(q.glyphs().red(99, 15, 15));
    EXPECT_TRUE(q.schedule().rows[2].inUse);
    EXPECT_EQ(q.insertBook().insertCount, 33);

    const Bytes sch = read("abc.SCH"), ints = read("abc.INT");
    fs::remove(data("abc.SCH"));
    fs::remove(data("abc.INT"));
    ASSERT_TRUE(q.save().ok);
    EXPECT_EQ(read("abc.SCH"), sch);
    EXPECT_EQ(read("abc.INT"), ints);
}

TEST_F(ProjectTest, NewProjectResetsAndSelectsUnitZero)
{
    Project p(dir.path());
    p.startUp();
    p.setfilename(data("abc.CFG"));
    p.settings().machine.fill(1);
    p.document().content(2) = {"x", "A"};
    setCurrentColours(p.settings(), ForeGreen, BackYellow);
    p.newProject();
    EXPECT_TRUE(p.isUnnamed());
    EXPECT_TRUE(p.document().content(2).text.empty());
    EXPECT_EQ(p.settings().machine[0], 1);
    EXPECT_EQ(p.settings().machine[15], 0);
    EXPECT_EQ(p.settings().machine[16], 1);
    EXPECT_EQ(p.unitPanel(), "傳送台號: 0");
    EXPECT_EQ(currentForeButton(p.settings()), ForeRed);
    EXPECT_EQ(currentBackButton(p.settings()), BackBlack);

    p.settings().machine.fill(1);
    p.newProject(true); // the sign configuration dialog confirms units itself
    EXPECT_EQ(p.settings().machine[15], 1);
}

TEST_F(ProjectTest, DamagedFilesAreReportedAndReadAsFarAsTheyGo)
{
    fs::create_directories(dir.path() / "DATA");
    ASSERT_TRUE(writeFileAtomic(data("bad.CFG"), "[SYSTEM]\r\nCOMPORT=99\r\nSETWORD=300\r\n"));
    ASSERT_TRUE(writeFileAtomic(data("bad.MSG"), Bytes(100, '\0')));
    ASSERT_TRUE(writeFileAtomic(data("bad.GRA"), Bytes(608 * 3 + 5, '\x01')));
    Project p(dir.path());
    p.startUp();
    p.glyphs().setPixel(50, 0, 0, false, true);
    const auto r = p.open(data("bad.CFG"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.target, MessageTarget::Box);
    EXPECT_NE(r.message.find("讀取訊息檔錯誤！"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("bad.GRA"), std::string::npos) << r.message;
    EXPECT_EQ(p.settings().port, 1);
    EXPECT_EQ(p.settings().signWidth, 10);
    EXPECT_TRUE(p.glyphs().red(2, 3, 3));    // the whole glyphs that were there
    EXPECT_TRUE(p.glyphs().green(50, 0, 0)); // the rest as it was
}

TEST_F(ProjectTest, UnnamedGlyphFileFollowsTheColourSet)
{
    Project p(dir.path());
    p.startUp();
    p.settings().colorSet = 2;
    EXPECT_EQ(p.glyphFile(), data("未命名_彩色.Gra"));
    ASSERT_TRUE(p.readGra());
    EXPECT_EQ(p.glyphs(), GlyphTable::blank());
    EXPECT_EQ(p.glyphs().record(0)[512], 0x01);
    p.settings().colorSet = 1;
    EXPECT_EQ(p.glyphFile(), data("未命名_單色.Gra"));
    ASSERT_TRUE(p.writeGra());
    EXPECT_EQ(read("未命名_單色.Gra").size(), 60800u);
}

TEST_F(ProjectTest, BakartIniKeepsOtherSectionsAndStoresBig5)
{
    fs::create_directories(dir.path() / "DATA");
    ASSERT_TRUE(writeFileAtomic(dir.path() / "DATA" / "BAKART.INI",
                                "[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n[SYSTEM]\r\ncrtf=0\r\n"));
    Project p(dir.path());
    p.startUp();
    EXPECT_FALSE(p.crtf());
    p.setfilename(data("中文.CFG"));
    ASSERT_TRUE(p.saveINI());
    const Bytes ini = read("BAKART.INI");
    EXPECT_EQ(ini.rfind("[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n[SYSTEM]\r\ncrtf=0\r\n"
                        "LASTFILE=",
                        0),
              0u)
        << ini;
    EXPECT_NE(ini.find(big5("中文.CFG")), Bytes::npos);
    EXPECT_NE(ini.find("FILEHEAD=" + big5("中文")), Bytes::npos);

    ASSERT_TRUE(writeFileAtomic(data("中文.CFG"), ""));
    Project next(dir.path());
    next.startUp();
    EXPECT_EQ(next.settings().projectName, "中文");
}

} // namespace
} // namespace led
