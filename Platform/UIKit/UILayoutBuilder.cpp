#include "UIKit/UILayoutBuilder.h"

#include <map>
#include <mutex>

namespace {

struct Table {
    std::mutex lock;
    std::map<std::string, UILayoutBuilder> builders;
};

Table& table()
{
    static auto* shared = new Table;  // outlives every static destructor that might read it
    return *shared;
}

}  // namespace

void UIRegisterLayoutBuilder(const std::string& nibName, UILayoutBuilder builder)
{
    Table& t = table();
    std::lock_guard guard(t.lock);
    if (builder)
        t.builders[nibName] = std::move(builder);
    else
        t.builders.erase(nibName);
}

UILayoutBuilder UILayoutBuilderForNibName(const std::string& nibName)
{
    Table& t = table();
    std::lock_guard guard(t.lock);
    auto found = t.builders.find(nibName);
    return found == t.builders.end() ? UILayoutBuilder() : found->second;
}
