// IniText.h - a small ini text reader for the layout tests and the fuzz
// target: "[section]" headers and "key=value" lines, names compared without
// regard to letter case, the first spelling of a key kept.
#pragma once

#include <cctype>
#include <map>
#include <string>

class IniText
{
public:
    explicit IniText(const std::string& text)
    {
        std::string section;
        size_t pos = 0;
        while (pos <= text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line[0] == '[') {
                const size_t close = line.find(']');
                section = Lower(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
                continue;
            }
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = Lower(line.substr(0, eq));
            auto& keys = m_values[section];
            if (keys.find(key) == keys.end())
                keys[key] = line.substr(eq + 1);
        }
    }

    std::string Get(const std::string& section, const std::string& key) const
    {
        auto s = m_values.find(Lower(section));
        if (s == m_values.end())
            return std::string();
        auto k = s->second.find(Lower(key));
        return k == s->second.end() ? std::string() : k->second;
    }

private:
    static std::string Lower(std::string s)
    {
        for (char& c : s)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return s;
    }

    std::map<std::string, std::map<std::string, std::string>> m_values;
};
