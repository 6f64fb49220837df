#pragma once
// Test helpers around files: a fresh folder removed with its contents at the end, an environment
// variable set for a scope, and reading a file's bytes or a folder's contents (to show that something
// left it alone).

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace customizer::testing {

class QZTemporaryFolder {
public:
    QZTemporaryFolder();
    ~QZTemporaryFolder();
    QZTemporaryFolder(const QZTemporaryFolder&) = delete;
    QZTemporaryFolder& operator=(const QZTemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Sets (or, with nullopt, unsets) the variable, and puts the old value back at the end.
class QZScopedEnvironment {
public:
    QZScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~QZScopedEnvironment();
    QZScopedEnvironment(const QZScopedEnvironment&) = delete;
    QZScopedEnvironment& operator=(const QZScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// The names directly in the folder.
std::set<std::string> entriesOf(const std::filesystem::path& folder);
// Every file under the folder with its bytes ("<folder>" for a folder), by relative path.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

}  // namespace customizer::testing
