#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace led::cli {

// Command-line words after the command name: positionals, "--name value" options and
// "--flag" switches. Which names take a value is given by the command.
class Args
{
public:
    Args(int argc, char** argv, int first, const std::set<std::string>& valued,
         const std::set<std::string>& flags);

    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    const std::vector<std::string>& positionals() const { return m_positionals; }
    void dropLastPositional()
    {
        if (!m_positionals.empty())
            m_positionals.pop_back();
    }
    bool flag(const std::string& name) const { return m_flags.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;
    // The option as an integer in [lo, hi]; an error message otherwise.
    std::optional<int> integer(const std::string& name, int lo, int hi, std::string& error) const;

private:
    std::vector<std::string> m_positionals;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::string m_error;
};

} // namespace led::cli
