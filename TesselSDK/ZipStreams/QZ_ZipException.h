#pragma once
// Raised by the zip classes: the zip core's error code and a reason naming the file or entry.

#include "Foundation/NSException.h"

#include <string>

class QZ_ZipException : public NSException {
public:
    QZ_ZipException(int error, std::string reason) : NSException("QZ_ZipException", std::move(reason)), error_(error) {}
    int error() const { return error_; }

private:
    int error_;
};
