#pragma once
// Substring test with the platform's range-search answer: an empty needle is never found.

#include <string_view>

inline bool qz_containsSubstring(std::string_view string, std::string_view substring) {
  return !substring.empty() && string.find(substring) != std::string_view::npos;
}
