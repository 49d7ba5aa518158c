#include "OptionValues.h"

#include <cerrno>
#include <cstdlib>

namespace serverkit {

bool ReadNumber(const std::string& option, const std::string& text, unsigned long max,
                unsigned long& out, std::string& error)
{
    errno = 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || v > max) {
        error = option + ": \"" + text + "\" is not a number up to " + std::to_string(max);
        return false;
    }
    out = v;
    return true;
}

bool ReadCommonFlag(const std::string& option, bool& help, bool& verbose)
{
    if (option == "--help" || option == "-h") {
        help = true;
        return true;
    }
    if (option == "--verbose") {
        verbose = true;
        return true;
    }
    return false;
}

bool ReadPort(const std::string& option, const std::string& text, uint16_t& out, std::string& error)
{
    unsigned long n = 0;
    if (!ReadNumber(option, text, 65535, n, error))
        return false;
    out = uint16_t(n);
    return true;
}

bool ValueFollows(const std::vector<std::string>& args, size_t i, std::string& error)
{
    if (i + 1 < args.size())
        return true;
    const std::string& option = args[i];
    error = option.compare(0, 2, "--") == 0 ? option + " needs a value"
                                            : "unknown argument \"" + option + "\"";
    return false;
}

}  // namespace serverkit
