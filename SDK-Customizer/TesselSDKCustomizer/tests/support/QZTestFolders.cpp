#include "support/QZTestFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace customizer::testing {

QZTemporaryFolder::QZTemporaryFolder()
{
    std::string pattern = (std::filesystem::path(::testing::TempDir()) / "tessel-customizer-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) ADD_FAILURE() << "no temporary folder at " << pattern;
    path_ = name.data();
}

QZTemporaryFolder::~QZTemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

QZScopedEnvironment::QZScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name))
{
    if (const char* old = std::getenv(name_.c_str())) previous_ = old;
    if (value)
        ::setenv(name_.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

QZScopedEnvironment::~QZScopedEnvironment()
{
    if (previous_)
        ::setenv(name_.c_str(), previous_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << path;
}

std::set<std::string> entriesOf(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        files[std::filesystem::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? readFile(entry.path()).value_or("") : "<folder>";
    return files;
}

}  // namespace customizer::testing
