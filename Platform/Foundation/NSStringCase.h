#pragma once
// Case mapping of UTF-8 strings as the platform's `uppercaseString` does it: full Unicode case
// mapping without a locale ("ß" becomes "SS"; letters without case, Arabic among them, stay).

#include <string>
#include <string_view>

// Ill-formed UTF-8 comes back unchanged.
std::string NSStringUppercaseString(std::string_view utf8);
