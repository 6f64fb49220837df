#include "TesselSDK/remote/QZABTestManager.h"

#include <array>
#include <random>
#include <string_view>

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"

namespace {

// Defaults of the editor that a test file must never overwrite.
constexpr std::array<std::string_view, 7> kProtectedDefaults = {
    "kQZCDSLastUpdate",
    "kQZContentPackCurrentManifestVerion",
    "kQZContentManagerCurrentMessagingManifestVerion",
    "kQZMessageDisplayTimestamp",
    "kQZABTestVersion",
    "kQZToolControllerHasLaunchedDictionary",
    "kQZPushNotificationState",
};

bool isProtectedDefault(const std::string& key)
{
    for (std::string_view name : kProtectedDefaults)
        if (key == name) return true;
    return false;
}

Value storedChoice(const Value& value, bool permanent)
{
    return Value::dictionary({{kQZABTestValue, value}, {kQZABTestPermanance, permanent}});
}

void logSkipped(const Value& entry, const char* reason)
{
    NSLog("%s %@", "-[QZABTestManager parseTestFileData:]",
          NSStringWithFormat("Skipped the test entry %@: %@", entry.description(), reason));
}

std::mt19937& generator()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

}  // namespace

std::shared_ptr<QZABTestManager> QZABTestManager::sharedManager()
{
    static const std::shared_ptr<QZABTestManager> shared = make();
    return shared;
}

std::shared_ptr<QZABTestManager> QZABTestManager::make()
{
    return NSObject::create<QZABTestManager>(&QZABTestManager::init);
}

bool QZABTestManager::init()
{
    operationQueue_ = NSOperationQueue::queue();
    return true;
}

void QZABTestManager::setRandomSourceForTesting(std::function<std::uint32_t()> random32,
                                                std::function<std::uint32_t(std::uint32_t)> uniform)
{
    std::lock_guard lock(mutex_);
    random32_ = std::move(random32);
    uniform_ = std::move(uniform);
}

std::uint32_t QZABTestManager::random32Locked()
{
    if (random32_) return random32_();
    return static_cast<std::uint32_t>(generator()());
}

std::uint32_t QZABTestManager::uniformLocked(std::uint32_t bound)
{
    if (uniform_) return uniform_(bound);
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(generator());
}

int QZABTestManager::testValueLocked(const std::string& key, int defaultChoice, const std::function<int()>& draw,
                                     const std::function<int(const Value&)>& fromStored)
{
    Value cached = cachedResults_[key];
    if (!cached.isNil()) return cached.intValue();
    std::shared_ptr<NSUserDefaults> defaults = NSUserDefaults::standardUserDefaults();
    Value stored = defaults->objectForKey(key);
    int choice = defaultChoice;
    if (stored.isDictionary()) {
        choice = fromStored(stored[kQZABTestValue]);
    } else if (!stored.isNil()) {
        defaults->setObject(storedChoice(stored, false), key);
        defaults->synchronize();
        choice = stored.intValue();
    } else {
        choice = randomizesChoices_ ? draw() : defaultChoice;
        defaults->setObject(storedChoice(choice, false), key);
        defaults->synchronize();
    }
    cachedResults_.setObject(choice, key);
    return choice;
}

int QZABTestManager::testValueForKey(const std::string& key, int numChoices, int defaultChoice)
{
    std::lock_guard lock(mutex_);
    // No choices to draw from (n <= 0): the default, never a division by zero.
    return testValueLocked(
        key, defaultChoice,
        [&] {
            return numChoices > 0 ? static_cast<int>(random32Locked() % static_cast<std::uint32_t>(numChoices))
                                  : defaultChoice;
        },
        [&](const Value& value) { return numChoices > 0 ? value.intValue() % numChoices : defaultChoice; });
}

int QZABTestManager::testValueForKey(const std::string& key, const std::vector<int>& distribution, int defaultChoice)
{
    std::lock_guard lock(mutex_);
    return testValueLocked(
        key, defaultChoice,
        [&] {
            const auto draw = static_cast<std::int64_t>(uniformLocked(100));
            for (std::size_t index = 0; index < distribution.size(); ++index)
                if (distribution[index] >= draw) return static_cast<int>(index);
            return static_cast<int>(distribution.size());
        },
        [](const Value& value) { return value.intValue(); });
}

int QZABTestManager::pushNotificationStatus()
{
    return testValueForKey(kQZPushNotificationStatus, std::vector<int>{95, 100}, 0);
}

Value QZABTestManager::testSummary()
{
    return Value::dictionary({{"pushNotificationEligible", pushNotificationStatus()}});
}

void QZABTestManager::reloadValues()
{
    std::lock_guard lock(mutex_);
    cachedResults_ = Value::dictionary();
}

bool QZABTestManager::randomizesChoices() const
{
    std::lock_guard lock(mutex_);
    return randomizesChoices_;
}

void QZABTestManager::setRandomizesChoices(bool randomizes)
{
    std::lock_guard lock(mutex_);
    randomizesChoices_ = randomizes;
}

bool QZABTestManager::isUpdating() const
{
    std::lock_guard lock(mutex_);
    return updating_;
}

int QZABTestManager::pendingVersion() const
{
    std::lock_guard lock(mutex_);
    return pendingVersion_;
}

Value QZABTestManager::cachedResults() const
{
    std::lock_guard lock(mutex_);
    return Value(Value::Dictionary(*cachedResults_.asDictionary()));  // no storage shared across threads
}

void QZABTestManager::endUpdate()
{
    std::lock_guard lock(mutex_);
    updating_ = false;
}

namespace {

// Runs the request on the queue; the body is handed to `parse` on a default-priority global queue.
void fetch(const std::shared_ptr<QZABTestManager>& manager, std::shared_ptr<NSURLRequest> request,
           std::function<void(QZABTestManager&, const Value::Data&)> parse,
           std::function<void(QZABTestManager&)> failed)
{
    auto operation = QZURLRequestOperation::operationWithRequest(std::move(request));
    std::weak_ptr<QZABTestManager> weak = manager;
    operation->setSuccessBlock([weak, parse](QZURLRequestOperation&, const Value::Data& data) {
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [weak, parse, data] {
            if (auto strong = weak.lock()) parse(*strong, data);
        });
    });
    operation->setFailureBlock([weak, failed](QZURLRequestOperation&, const std::shared_ptr<NSError>&) {
        if (auto strong = weak.lock()) failed(*strong);
    });
    manager->operationQueue()->addOperation(operation);
}

}  // namespace

void QZABTestManager::checkForTestUpdates()
{
    {
        std::lock_guard lock(mutex_);
        if (updating_) return;
        updating_ = true;
    }
    std::optional<std::string> root = QZRemoteConfiguration::contentServiceRoot();
    std::optional<std::string> apiKey = QZRemoteConfiguration::apiKey();
    std::shared_ptr<NSURL> url = root && apiKey
                                     ? NSURL::URLWithString(*root + kQZContentAssetServicePath +
                                                            NSStringWithFormat("%@/abtest/version.json", *apiKey))
                                     : nullptr;
    if (!url) {
        NSLog("%s %@", "-[QZABTestManager checkForTestUpdates]",
              "No content service root or API key is configured: tests are not updated.");
        endUpdate();
        return;
    }
    auto request = NSMutableURLRequest::requestWithURL(url, NSURLRequestReloadIgnoringLocalCacheData,
                                                       NSURLRequestDefaultTimeoutInterval);
    fetch(self<QZABTestManager>(), request, &QZABTestManager::parseVersionFileData, &QZABTestManager::endUpdate);
}

void QZABTestManager::parseVersionFileData(const Value::Data& data)
{
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    if (!document.isDictionary()) {
        endUpdate();
        return;
    }
    const int version = document["version"].intValue();
    const int applied = NSUserDefaults::standardUserDefaults()->objectForKey(kQZABTestVersion).intValue();
    Value testURL = document["testURL"];
    std::shared_ptr<NSURL> url = testURL.isString() ? NSURL::URLWithString(testURL.stringValue()) : nullptr;
    if (applied >= version || !url) {
        endUpdate();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        pendingVersion_ = version;
    }
    fetch(self<QZABTestManager>(), NSURLRequest::requestWithURL(url), &QZABTestManager::parseTestFileData,
          &QZABTestManager::endUpdate);
}

void QZABTestManager::parseTestFileData(const Value::Data& data)
{
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    const Value::Array* entries = document.asArray();
    if (!entries) {
        endUpdate();  // the applied version stays, so the next check fetches the file again
        return;
    }
    std::lock_guard lock(mutex_);
    for (const Value& entry : *entries) applyTestEntryLocked(entry);
    std::shared_ptr<NSUserDefaults> defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(pendingVersion_, kQZABTestVersion);
    defaults->synchronize();
    pendingVersion_ = -1;
    updating_ = false;
}

void QZABTestManager::applyTestEntryLocked(const Value& entry)
{
    if (!entry.isDictionary()) return logSkipped(entry, "not an object");
    Value name = entry["testName"];
    const std::string key = name.isString() ? name.stringValue() : std::string();
    if (key.empty()) return logSkipped(entry, "no test name");
    // A test file names tests, never the editor's own defaults.
    if (isProtectedDefault(key)) return logSkipped(entry, "the name is no test's");
    Value winner = entry["winner"];
    if (!winner.isInteger() && !winner.isReal()) return logSkipped(entry, "the winner is no number");
    std::shared_ptr<NSUserDefaults> defaults = NSUserDefaults::standardUserDefaults();
    Value stored = defaults->objectForKey(key);
    const bool storedIsChoice =
        stored.isNil() || stored.isNumber() || (stored.isDictionary() && !stored[kQZABTestValue].isNil());
    if (!storedIsChoice) return logSkipped(entry, "the name holds something other than a test choice");
    if (winner.intValue() < 0) {
        // A withdrawn winner: the next request makes a new choice; a device choice stays.
        if (stored.isDictionary() && stored[kQZABTestPermanance].boolValue()) defaults->removeObjectForKey(key);
        return;
    }
    defaults->setObject(storedChoice(winner, true), key);
}
