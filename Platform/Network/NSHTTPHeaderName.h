#pragma once
// Header field names compare without regard to ASCII case.

#include <string_view>

bool NSHTTPHeaderNamesEqual(std::string_view a, std::string_view b);
