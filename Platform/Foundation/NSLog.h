#pragma once
// The one log sink. Lines go to stderr, stamped for people, unless an NSLogCapture is alive, in
// which case they are kept (unstamped) for the test that made it. The editor's log texts are
// written with "%s %@": the method name as the editor spells it, then the message.

#include "Foundation/NSString.h"

#include <string>
#include <string_view>

// Sends one finished line to the sink.
void NSLogMessage(const std::string& line);

template <class... Args>
void NSLog(std::string_view format, const Args&... args)
{
    NSLogMessage(NSStringWithFormat(format, args...));
}
