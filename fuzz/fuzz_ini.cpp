#include "core/document/CfgFile.h"
#include "core/document/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    led::IniFile ini = led::IniFile::parse(bytes);
    if (ini.serialize() != bytes)
        __builtin_trap(); // a rewrite must keep every byte
    led::TSystemparameter s;
    led::readCfg(ini, s);
    led::writeCfg(s, ini);
    led::IniFile::parse(ini.serialize());
    return 0;
}
