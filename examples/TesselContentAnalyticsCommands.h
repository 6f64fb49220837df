#pragma once
// tessel_content's analytics side: the session every command reports through, and the commands
// that look at the sandbox's event store and upload it.
//
//   events   prints "events: N" (every row of the store, staged or not) and "last upload: R" (the
//            last outcome recorded for this sandbox by any command or host, "none" before one)
//   upload   stages and sends everything waiting, waits for the outcome and prints "upload: R";
//            exit 0 for "accepted" and "nothing to send", 1 otherwise

#include <optional>
#include <ostream>
#include <string>

namespace tessel_content {

// Registers the analytics session, points it at `analyticsURL` (scheme, host and port; when not
// given, the configuration's root, and with none nothing is sent), begins it with the
// application's key and opens it. Run once the sandbox root and the clock are set; false for a
// URL that is not http or https.
bool startAnalytics(const std::optional<std::string>& analyticsURL);

// Waits until every event reported so far is stored and every exchange in flight has ended: the
// session's blocks do not outlive the program.
void finishAnalytics();

int runEvents(std::ostream& out);
int runUpload(std::ostream& out);

}  // namespace tessel_content
