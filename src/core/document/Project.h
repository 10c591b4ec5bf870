#pragma once

#include "core/document/Document.h"
#include "core/document/FileIO.h"
#include "core/document/GlyphTable.h"
#include "core/document/InsertBook.h"
#include "core/document/MsgFile.h"
#include "core/document/Settings.h"
#include "core/document/WeeklySchedule.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace led {

namespace texts {
inline constexpr const char* UnnamedProject = "未命名";
inline constexpr const char* TitlePrefix = "中文字幕機傳送程式 _";
inline constexpr const char* UnnamedUnitPanel = "傳送台號: 0";
inline constexpr const char* SaveSucceeded = "存檔成功！";
inline constexpr const char* SaveFailed = "存檔失敗！";
inline constexpr const char* BadFileName = "檔案命名錯誤，請輸入檔名！";
inline constexpr const char* EnterFileName = "請輸入檔名!";
inline constexpr const char* AskSave = "內容已修改，是否要存檔?";
inline constexpr const char* AskSaveCaption = "存檔確認";
inline constexpr const char* AskQuit = "確定要結束了嗎?";
inline constexpr const char* AskQuitCaption = "離開確認";
inline constexpr const char* ReadMsgFailed = "讀取訊息檔錯誤！";
inline constexpr const char* ReadFailed = "讀取檔案錯誤！";
} // namespace texts

enum class MessageTarget
{
    None,
    StatusPanel, // status panel 1 of the main window
    Box          // a message box
};

// What a flow did: the files it wrote, and the one message the window shows next.
struct FlowResult
{
    bool ok = true;
    std::string message; // UTF-8; given sentence first, the system's reason on later lines
    MessageTarget target = MessageTarget::None;
    std::vector<std::filesystem::path> written;
};

// One project: its settings, screens and glyphs, the files that hold them, and the
// decisions of new, open, save, save as and close. Dialogs and message boxes stay with
// the window; their answers come in as parameters.
class Project
{
public:
    // home is the program folder, the parent of DATA/.
    explicit Project(std::filesystem::path home);

    const std::filesystem::path& home() const { return m_home; }
    std::filesystem::path dataFolder() const { return m_home / "DATA"; }
    std::filesystem::path unnamedCfgPath() const;
    std::filesystem::path iniPath() const { return dataFolder() / "BAKART.INI"; }

    TSystemparameter& settings() { return m_settings; }
    const TSystemparameter& settings() const { return m_settings; }
    Document& document() { return m_document; }
    const Document& document() const { return m_document; }
    GlyphTable& glyphs() { return m_glyphs; }
    const GlyphTable& glyphs() const { return m_glyphs; }
    InsertBook& insertBook() { return m_inserts; }
    const InsertBook& insertBook() const { return m_inserts; }
    WeeklySchedule& schedule() { return m_schedule; }
    const WeeklySchedule& schedule() const { return m_schedule; }
    bool crtf() const { return m_crtf; }
    void setCrtf(bool horizontal) { m_crtf = horizontal; }

    bool isUnnamed() const { return m_settings.projectName == texts::UnnamedProject; }
    const std::string& title() const { return m_title; }         // main window title
    const std::string& unitPanel() const { return m_unitPanel; } // status panel 6
    const std::filesystem::path& lastFile() const { return m_lastFile; }

    // The editor stores its visible rows before the document is written, and reloads
    // them (without storing) after the document was replaced.
    std::function<void()> commitRows;
    std::function<void()> reloadRows;

    void setfilename(const std::filesystem::path& cfgPath);
    FileResult readINI();
    FileResult saveINI();
    FileResult readCFG();
    FileResult saveCFG();
    MsgReadResult readMsg();
    FileResult SaveMsg();
    // The glyph table of the project: for the unnamed project the file of its colour set.
    std::filesystem::path glyphFile() const;
    FileResult readGra();
    FileResult writeGra();
    // The insert window's .INT and the schedule window's .SCH, read as by Open.
    std::string loadSideFiles();

    // Start-up: BAKART.INI, the last project's .CFG, a reset document.
    FlowResult startUp();
    // forSignConfig: the sign configuration dialog confirms the unit selection itself.
    FlowResult newProject(bool forSignConfig = false);
    // chosen: the open dialog's answer, nothing when cancelled.
    FlowResult open(const std::optional<std::filesystem::path>& chosen);
    bool saveNeedsDialog() const { return isUnnamed(); }
    FlowResult save(const std::optional<std::filesystem::path>& chosen = std::nullopt);
    FlowResult saveAs(const std::optional<std::filesystem::path>& chosen);
    bool closeNeedsSaveQuestion() const { return !m_document.saved() || isUnnamed(); }
    // The operator answered OK to "內容已修改，是否要存檔?"; chosen is asked only when unnamed.
    FlowResult saveOnClose(const std::optional<std::filesystem::path>& chosen = std::nullopt);
    // The window is closing: BAKART.INI and the .CFG.
    FlowResult finishClose();

private:
    bool isDataPath(const std::filesystem::path& p, const std::string& fileName) const;
    bool refusedName(const std::filesystem::path& chosen) const;
    template <typename Model>
    FileResult writeSide(const Model& model, const std::filesystem::path& path);
    FileResult writeTracked(const std::filesystem::path& path, std::string_view bytes);
    FlowResult writeAll(bool withGra);

    std::filesystem::path m_home;
    TSystemparameter m_settings;
    Document m_document;
    GlyphTable m_glyphs;
    bool m_crtf = true;
    std::string m_title;
    std::string m_unitPanel;
    std::filesystem::path m_lastFile;
    std::vector<std::filesystem::path> m_written; // files written by the running flow
    InsertBook m_inserts;
    WeeklySchedule m_schedule;
};

} // namespace led
