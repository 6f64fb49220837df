#include "App/QZUserDefaults.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace customizer {

namespace {

constexpr const char* kSection = "[Defaults]";

std::string configHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir ? user->pw_dir : "/";
    }
    return (fs::path(home) / ".config").string();
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string QZUserDefaults::defaultPath()
{
    return (fs::path(configHome()) / "TesselSDKCustomizer" / "preferences.ini").string();
}

QZUserDefaults::QZUserDefaults() : QZUserDefaults(defaultPath()) {}

QZUserDefaults::QZUserDefaults(std::string path) : path_(std::move(path)) { read(); }

bool QZUserDefaults::boolForKey(const std::string& key) const
{
    const auto found = values_.find(key);
    return found != values_.end() && found->second;
}

bool QZUserDefaults::setBoolForKey(const std::string& key, bool value)
{
    values_[key] = value;
    return write();
}

void QZUserDefaults::read()
{
    std::ifstream in(path_);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            inSection = line == kSection;
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        const std::string value = trimmed(line.substr(equals + 1));
        values_[trimmed(line.substr(0, equals))] = value == "true" || value == "1";
    }
}

bool QZUserDefaults::write() const
{
    std::error_code error;
    const fs::path target(path_);
    fs::create_directories(target.parent_path(), error);
    std::ostringstream text;
    text << kSection << '\n';
    for (const auto& [key, value] : values_) text << key << '=' << (value ? "true" : "false") << '\n';
    const fs::path partial = target.string() + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << text.str();
        out.flush();
        if (!out) {
            fs::remove(partial, error);
            return false;
        }
    }
    std::error_code renameError;
    fs::rename(partial, target, renameError);
    if (renameError) fs::remove(partial, error);
    return !renameError;
}

}  // namespace customizer
