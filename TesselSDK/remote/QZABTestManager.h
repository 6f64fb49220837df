#pragma once
// A/B test choices: for a test key, a small integer choice that stays the same for this
// installation once made, kept in the user defaults under the key as {"kQZABTestValue": choice,
// "kQZABTestPermanance": whether a remote test file named it}. A remote test file, fetched by
// checkForTestUpdates from the content asset service, can name a winner for a test or withdraw
// one.
//
// One mutex guards the cached choices, the read and write of a key's stored choice (threads
// asking a new key at once agree on one value), `updating` and `pendingVersion`: the analytics
// facade's first report may come from any thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Foundation/NSObject.h"
#include "Foundation/NSOperationQueue.h"
#include "Foundation/Value.h"

inline constexpr const char* kQZABTestValue = "kQZABTestValue";
inline constexpr const char* kQZABTestPermanance = "kQZABTestPermanance";
inline constexpr const char* kQZABTestVersion = "kQZABTestVersion";
inline constexpr const char* kQZPushNotificationStatus = "kQZPushNotificationStatus";
inline constexpr const char* kQZBadgeStyle = "kQZBadgeStyle";
inline constexpr const char* kQZBadgeTools = "kQZBadgeTools";

class QZABTestManager : public NSObject {
public:
    using NSObject::NSObject;

    static std::shared_ptr<QZABTestManager> sharedManager();
    // A fresh manager for tests (the shared one lives for the process).
    static std::shared_ptr<QZABTestManager> make();

    // The cached choice, else the stored one (a dictionary's value modulo n; a bare number
    // rewritten as a dictionary and answered as it is), else a new one (random when
    // randomizesChoices, else the default) stored with permanence NO. n <= 0 has no choices to
    // draw from: the default is answered (and stored for an absent key).
    int testValueForKey(const std::string& key, int numChoices, int defaultChoice);
    // The same, with a stored dictionary's value unchanged and a new random choice the index of
    // the first cumulative percentage >= a draw in 0..99 (the count when none is).
    int testValueForKey(const std::string& key, const std::vector<int>& distribution, int defaultChoice);
    // "kQZPushNotificationStatus" over the distribution [95, 100], default 0.
    int pushNotificationStatus();
    // {"pushNotificationEligible": pushNotificationStatus()}.
    Value testSummary();
    // Forgets the cached choices, so that the stored ones are read again.
    void reloadValues();
    // Fetches the test version document and, when newer than the applied one, the test file, and
    // applies it. Ignored while a check runs. Needs the content service root and the API key
    // (QZRemoteConfiguration); without them it logs one line and sends nothing.
    void checkForTestUpdates();

    bool randomizesChoices() const;
    void setRandomizesChoices(bool randomizes);
    bool isUpdating() const;
    int pendingVersion() const;
    Value cachedResults() const;
    const std::shared_ptr<NSOperationQueue>& operationQueue() const { return operationQueue_; }

    // Tests: replaces the random source: a uniform unsigned 32-bit number, and a uniform number
    // in 0..bound-1. Empty functions restore the default source.
    void setRandomSourceForTesting(std::function<std::uint32_t()> random32,
                                   std::function<std::uint32_t(std::uint32_t)> uniform);

private:
    bool init();
    // Both variants: `draw` makes the new choice, `fromStored` reads a stored dictionary's value.
    int testValueLocked(const std::string& key, int defaultChoice, const std::function<int()>& draw,
                        const std::function<int(const Value&)>& fromStored);
    void endUpdate();
    void parseVersionFileData(const Value::Data& data);
    void parseTestFileData(const Value::Data& data);
    // Writes one entry of a test file; skipped entries are logged.
    void applyTestEntryLocked(const Value& entry);
    std::uint32_t random32Locked();
    std::uint32_t uniformLocked(std::uint32_t bound);

    mutable std::mutex mutex_;
    Value cachedResults_ = Value::dictionary();
    std::shared_ptr<NSOperationQueue> operationQueue_;
    bool updating_ = false;
    int pendingVersion_ = 0;
    bool randomizesChoices_ = false;
    std::function<std::uint32_t()> random32_;
    std::function<std::uint32_t(std::uint32_t)> uniform_;
};
