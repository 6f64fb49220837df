#pragma once
// Files written whole or not at all: the bytes go to a uniquely named file beside the target, which
// is then renamed over it. A failure leaves the target as it was and no temporary file behind.

#include <string>

#include "Foundation/Value.h"

bool QZWriteFileAtomically(const std::string& path, const Value::Data& bytes, std::string* reason = nullptr);
// A new empty file in `directory` named `prefix` + a unique suffix + `extension`; empty on failure.
std::string QZCreateUniqueFile(const std::string& directory, const std::string& prefix, const std::string& extension);
