#include "cli/Args.h"

#include <charconv>

namespace led::cli {

Args::Args(int argc, char** argv, int first, const std::set<std::string>& valued,
           const std::set<std::string>& flags)
{
    for (int i = first; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            const std::string name = word.substr(2);
            if (valued.count(name)) {
                if (i + 1 >= argc) {
                    m_error = "選項 " + word + " 需要一個值";
                    return;
                }
                m_values[name] = argv[++i];
            } else if (flags.count(name)) {
                m_flags.insert(name);
            } else {
                m_error = "不明的選項: " + word;
                return;
            }
        } else {
            m_positionals.push_back(word);
        }
    }
}

std::optional<std::string> Args::value(const std::string& name) const
{
    auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> Args::integer(const std::string& name, int lo, int hi, std::string& error) const
{
    const auto text = value(name);
    if (!text) {
        error = "缺少選項 --" + name;
        return std::nullopt;
    }
    int v = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), v);
    if (ec != std::errc() || end != text->data() + text->size() || v < lo || v > hi) {
        error = "選項 --" + name + " 的值 " + *text + " 不在 " + std::to_string(lo) + "–" +
                std::to_string(hi) + " 之內";
        return std::nullopt;
    }
    return v;
}

} // namespace led::cli
