#pragma once
// The application's user defaults: booleans in a key file,
// $XDG_CONFIG_HOME/TesselSDKCustomizer/preferences.ini (~/.config when the variable is unset or
// not an absolute path). An absent key reads NO. Every write is saved at once, by writing a
// complete copy beside the file and renaming it over, so a failed write leaves the old file.

#include <map>
#include <string>

namespace customizer {

inline constexpr const char* COMPRESS_PNGS_DISABLED_KEY = "CompressPNGsDisabled";
inline constexpr const char* SHOW_BUTTONS_KEY = "ShowButtons";
inline constexpr const char* SHOW_ICONS_KEY = "ShowIcons";
inline constexpr const char* HIGHLIGHTED_BUTTONS_KEY = "HighlightedButtons";

class QZUserDefaults {
public:
    // Reads the file of the environment of this moment; a missing or unreadable file reads empty.
    QZUserDefaults();
    explicit QZUserDefaults(std::string path);

    bool boolForKey(const std::string& key) const;
    // False (and the value kept in memory) when the file could not be written.
    bool setBoolForKey(const std::string& key, bool value);

    const std::string& path() const { return path_; }
    static std::string defaultPath();

private:
    void read();
    bool write() const;

    std::string path_;
    std::map<std::string, bool> values_;
};

}  // namespace customizer
