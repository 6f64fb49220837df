#pragma once
// String tables (".strings") in their text form:
//     /* comment */  // comment
//     "key" = "value";      key = value;      "key";   (a key alone maps to itself)
// with the escapes \" \\ \n \t \r \Uxxxx (UTF-16 unit; surrogate pairs join) and octal \ooo.
// Text is UTF-8; UTF-16 with a byte-order mark is accepted too. Answers a dictionary of strings,
// or nil with *error naming the line of the first fault (nothing is half-read).

#include "Foundation/Value.h"

#include <memory>
#include <string_view>

class NSError;

Value NSStringsTableFromText(std::string_view text, std::shared_ptr<NSError>* error = nullptr);
