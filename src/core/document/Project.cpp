#include "core/document/Project.h"

#include "core/document/CfgFile.h"
#include "core/document/IniFile.h"
#include "core/text/Cp950.h"

namespace led {

namespace fs = std::filesystem;

namespace {

constexpr const char* IniSection = "SYSTEM";

// Paths go to BAKART.INI in Big5 where they can; others stay UTF-8.
Bytes pathToIni(const fs::path& p)
{
    const std::string utf8 = p.string();
    auto b = utf8ToCp950(utf8);
    return b ? *b : utf8;
}

std::vector<fs::path> pathsFromIni(const Bytes& value)
{
    std::vector<fs::path> out;
    const std::string decoded = cp950ToUtf8(value);
    if (decoded.find("\xEF\xBF\xBD") == std::string::npos)
        out.emplace_back(decoded);
    out.emplace_back(value);
    return out;
}

std::string withReason(const char* sentence, const std::string& reason)
{
    return reason.empty() ? std::string(sentence) : std::string(sentence) + "\n" + reason;
}

FileResult readOptionalIni(const fs::path& path, IniFile& ini)
{
    std::optional<Bytes> bytes;
    FileResult r = readFileIfExists(path, bytes);
    if (bytes)
        ini = IniFile::parse(*bytes);
    return r;
}

} // namespace

Project::Project(fs::path home) : m_home(std::move(home))
{
    setfilename(unnamedCfgPath());
}

fs::path Project::unnamedCfgPath() const
{
    return dataFolder() / (std::string(texts::UnnamedProject) + ".CFG");
}

void Project::setfilename(const fs::path& cfgPath)
{
    const std::string file = cfgPath.filename().string();
    const fs::path folder = cfgPath.parent_path();
    auto& s = m_settings;
    s.projectName = file.substr(0, file.find('.'));
    s.cfgPath = folder / (s.projectName + ".CFG");
    s.msgPath = folder / (s.projectName + ".MSG");
    s.graPath = folder / (s.projectName + ".GRA");
    s.schPath = folder / (s.projectName + ".SCH");
    s.intPath = folder / (s.projectName + ".INT");

    std::string folderText = folder.string();
    if (!folderText.empty() && folderText.back() != fs::path::preferred_separator)
        folderText += fs::path::preferred_separator;
    m_title = texts::TitlePrefix + folderText + s.projectName;
    if (m_title.find(texts::UnnamedProject) != std::string::npos)
        m_unitPanel = texts::UnnamedUnitPanel;
    m_lastFile = cfgPath;
}

FileResult Project::readINI()
{
    IniFile ini;
    const FileResult read = readOptionalIni(iniPath(), ini);
    const Bytes fallback = pathToIni(unnamedCfgPath());
    fs::path chosen = unnamedCfgPath();
    for (const auto& candidate : pathsFromIni(ini.readString(IniSection, "LASTFILE", fallback))) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) {
            chosen = candidate;
            break;
        }
    }
    setfilename(chosen);
    m_crtf = ini.readBool(IniSection, "crtf", true);
    return read;
}

FileResult Project::saveINI()
{
    IniFile ini;
    readOptionalIni(iniPath(), ini); // an unreadable file is replaced whole
    ini.writeString(IniSection, "LASTFILE", pathToIni(m_lastFile));
    ini.writeString(IniSection, "FILEHEAD", pathToIni(m_settings.projectName));
    ini.writeBool(IniSection, "crtf", m_crtf);
    return writeTracked(iniPath(), ini.serialize());
}

FileResult Project::readCFG()
{
    IniFile ini;
    const FileResult read = readOptionalIni(m_settings.cfgPath, ini);
    readCfg(ini, m_settings);
    m_unitPanel = unitPanelText(m_settings);
    return read;
}

FileResult Project::saveCFG()
{
    if (isUnnamed())
        return {};
    IniFile ini;
    readOptionalIni(m_settings.cfgPath, ini);
    writeCfg(m_settings, ini);
    return writeTracked(m_settings.cfgPath, ini.serialize());
}

MsgReadResult Project::readMsg()
{
    MsgReadResult result;
    std::error_code ec;
    if (!fs::exists(m_settings.msgPath, ec)) {
        m_document.resetDocument();
        for (auto& p : m_document.pairs())
            p = TContect{};
    } else if (auto bytes = readFileBytes(m_settings.msgPath, &result.error)) {
        result = readMsgImage(*bytes, m_document);
        if (!result.ok)
            result.error =
                withReason(texts::ReadMsgFailed, m_settings.msgPath.string() + ": " + result.error);
    } else {
        result.ok = false;
        result.error = withReason(texts::ReadMsgFailed, result.error);
    }
    if (reloadRows)
        reloadRows();
    return result;
}

FileResult Project::SaveMsg()
{
    if (commitRows)
        commitRows();
    if (isUnnamed())
        return {};
    const FileResult r = writeTracked(m_settings.msgPath, writeMsgImage(m_document));
    if (r.ok)
        m_document.setSaved(true);
    return r;
}

fs::path Project::glyphFile() const
{
    if (!isUnnamed())
        return m_settings.graPath;
    const char* name = m_settings.colorSet == 1 ? "未命名_單色.Gra" : "未命名_彩色.Gra";
    return dataFolder() / name;
}

FileResult Project::readGra()
{
    return readGlyphFile(glyphFile(), m_glyphs, isUnnamed());
}

FileResult Project::writeGra()
{
    return writeTracked(glyphFile(), m_glyphs.bytes());
}

FileResult Project::writeTracked(const fs::path& path, std::string_view bytes)
{
    FileResult r = writeFileCreatingFolder(path, bytes);
    if (r.ok)
        m_written.push_back(path);
    return r;
}

template <typename Model> FileResult Project::writeSide(const Model& model, const fs::path& path)
{
    // Only named projects get here, so every model writes its file.
    FileResult r = model.save(path);
    if (r.ok)
        m_written.push_back(path);
    return r;
}

std::string Project::loadSideFiles()
{
    std::string problems;
    if (auto r = m_inserts.load(m_settings.intPath); !r)
        problems += "\n" + r.error;
    if (auto r = m_schedule.load(m_settings.schPath); !r)
        problems += "\n" + r.error;
    return problems;
}

FlowResult Project::startUp()
{
    FlowResult result;
    ensureFolder(dataFolder());
    std::string problems;
    if (auto r = readINI(); !r)
        problems += "\n" + r.error;
    if (auto r = readCFG(); !r)
        problems += "\n" + r.error;
    problems += loadSideFiles();
    m_document.resetDocument();
    m_document.setSaved(true);
    if (isUnnamed()) {
        m_settings.machine[0] = 1;
        for (int n = 1; n <= 15; ++n)
            m_settings.machine[n] = 0;
        m_unitPanel = texts::UnnamedUnitPanel;
        m_settings.colorSet = 1;
        setCurrentColours(m_settings, ForeRed, BackBlack);
    }
    if (!problems.empty()) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = texts::ReadFailed + problems;
    }
    return result;
}

FlowResult Project::newProject(bool forSignConfig)
{
    setfilename(unnamedCfgPath());
    m_document.resetDocument();
    FlowResult result;
    if (auto r = readMsg(); !r) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = r.error;
    }
    readGra();
    m_settings.machine[0] = 1;
    if (!forSignConfig) {
        for (int n = 1; n <= 15; ++n)
            m_settings.machine[n] = 0;
        m_unitPanel = texts::UnnamedUnitPanel;
    }
    setCurrentColours(m_settings, ForeRed, BackBlack);
    return result;
}

FlowResult Project::open(const std::optional<fs::path>& chosen)
{
    FlowResult result;
    if (!chosen)
        return result;
    setfilename(*chosen);
    std::string problems;
    if (auto r = readMsg(); !r)
        problems += "\n" + r.error;
    if (auto r = readCFG(); !r)
        problems += "\n" + r.error;

    if (auto r = m_inserts.load(m_settings.intPath); !r)
        problems += "\n" + r.error;
    if (auto r = readGra(); !r)
        problems += "\n" + r.error;
    if (auto r = m_schedule.load(m_settings.schPath); !r)
        problems += "\n" + r.error;

    if (!problems.empty()) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = texts::ReadFailed + problems;
    }
    return result;
}

bool Project::isDataPath(const fs::path& p, const std::string& fileName) const
{
    const fs::path expected = (dataFolder() / fileName).lexically_normal();
    const fs::path given = fs::absolute(p).lexically_normal();
    return given == expected;
}

bool Project::refusedName(const fs::path& chosen) const
{
    // An empty name or the unnamed project's own name would save nothing at all.
    const std::string file = chosen.filename().string();
    const std::string name = file.substr(0, file.find('.'));
    return name.empty() || name == texts::UnnamedProject || isDataPath(chosen, ".CFG");
}

FlowResult Project::writeAll(bool withGra)
{
    FlowResult result;
    m_written.clear();
    std::string problems;
    auto note = [&problems](const FileResult& r) {
        if (!r)
            problems += "\n" + r.error;
    };
    note(SaveMsg());
    note(saveCFG());
    note(saveINI());
    note(writeSide(m_schedule, m_settings.schPath));
    note(writeSide(m_inserts, m_settings.intPath));
    if (withGra)
        note(writeGra());
    result.written = m_written;
    if (!problems.empty()) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = texts::SaveFailed + problems;
    }
    return result;
}

FlowResult Project::save(const std::optional<fs::path>& chosen)
{
    bool withGra = false;
    if (isUnnamed()) {
        if (!chosen || refusedName(*chosen))
            return {false, texts::BadFileName, MessageTarget::Box, {}};
        setfilename(*chosen);
        withGra = true;
    }
    FlowResult result = writeAll(withGra);
    if (result.ok) {
        result.message = texts::SaveSucceeded;
        result.target = MessageTarget::StatusPanel;
    }
    return result;
}

FlowResult Project::saveAs(const std::optional<fs::path>& chosen)
{
    if (!chosen || refusedName(*chosen))
        return {false, texts::EnterFileName, MessageTarget::Box, {}};
    setfilename(*chosen);
    m_lastFile = m_settings.cfgPath;
    return writeAll(true);
}

FlowResult Project::saveOnClose(const std::optional<fs::path>& chosen)
{
    if (isUnnamed()) {
        if (!chosen || refusedName(*chosen))
            return {false, texts::BadFileName, MessageTarget::Box, {}};
        setfilename(*chosen);
    }
    m_written.clear();
    FlowResult result;
    if (auto r = SaveMsg(); !r) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = withReason(texts::SaveFailed, r.error);
    }
    result.written = m_written;
    return result;
}

FlowResult Project::finishClose()
{
    m_written.clear();
    FlowResult result;
    std::string problems;
    if (auto r = saveINI(); !r)
        problems += "\n" + r.error;
    if (auto r = saveCFG(); !r)
        problems += "\n" + r.error;
    result.written = m_written;
    if (!problems.empty()) {
        result.ok = false;
        result.target = MessageTarget::Box;
        result.message = texts::SaveFailed + problems;
    }
    return result;
}

} // namespace led
