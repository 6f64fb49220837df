#include "TesselEditorOutputs.h"

#include "TesselEditorScript.h"
#include "TesselEditorScriptLine.h"

#include <filesystem>

#include <sys/stat.h>

namespace tessel_editor {

std::string screenshotPath(const std::string& directory, const std::string& name)
{
    return (std::filesystem::path(directory) / (name + ".png")).string();
}

bool namesSameFile(const std::string& a, const std::string& b)
{
    // stat follows symbolic links; a hard link is the same inode under another name.
    struct stat first {}, second {};
    if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string writeOverInput(const std::string& input, const std::optional<std::string>& output,
                           const std::optional<std::string>& screenshots, const std::string& scriptText)
{
    if (output && namesSameFile(*output, input)) return *output;
    if (!screenshots) return "";
    for (const std::string& text : splitLines(scriptText)) {
        const ScriptLine line = parseScriptLine(text);
        if (line.kind != ScriptLine::Kind::Screenshot || !line.error.empty()) continue;
        const std::string path = screenshotPath(*screenshots, line.text);
        if (namesSameFile(path, input)) return path;
    }
    return "";
}

}  // namespace tessel_editor
