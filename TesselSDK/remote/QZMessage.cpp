#include "TesselSDK/remote/QZMessage.h"

#include <algorithm>
#include <atomic>

#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSSortDescriptor.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZMessageConversions.h"
#include "TesselSDK/remote/QZMessageText.h"
#include "TesselSDK/remote/QZSafePathName.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZAtomicFile.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIScreen.h"

namespace {

constexpr const char* kTextKeys[] = {"title", "header", "paragraph", "actionButtonText", "dismissButtonText"};

double now()
{
    return NSDate::date()->timeIntervalSince1970();
}

std::shared_ptr<NSPredicate> displayablePredicate(double at)
{
    using Op = NSPredicateOperatorType;
    return NSPredicate::andPredicate(
        {NSPredicate::equal("hasBeenShown", false), NSPredicate::compare("beginDate", Op::LessThan, Value::date(at)),
         NSPredicate::orPredicate(
             {NSPredicate::isNil("endDate"), NSPredicate::compare("endDate", Op::GreaterThan, Value::date(at))})});
}

}  // namespace

std::shared_ptr<QZMessage> QZMessage::messageToDisplay()
{
    DispatchMainQueue::requireMainThread("+[QZMessage messageToDisplay]");
    const double at = now();
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (std::optional<Value::Date> shown = defaults->objectForKey(kQZMessageDisplayTimestamp).asDate())
        // A date in the future (a clock set back) blocks as well.
        if (shown->timeIntervalSince1970 - at > -kQZMessageDisplaySpacing) return nullptr;

    auto context = QZTesselContentManager::sharedManager()->contentPackManagedObjectContext();
    auto request = NSFetchRequest::fetchRequestWithEntityName("Message");
    request->setPredicate(displayablePredicate(at));
    request->setSortDescriptors({NSSortDescriptor::sortDescriptorWithKey("beginDate", true)});
    std::shared_ptr<NSError> error;
    auto records = context->executeFetchRequest(*request, &error);
    if (!records) {
        NSLog("%s %@", "+[QZMessage messageToDisplay]",
              NSStringWithFormat("message fetch failed with error %@", error));
        return nullptr;
    }
    std::shared_ptr<QZMessage> chosen;
    for (const auto& record : *records)
        if (auto message = std::dynamic_pointer_cast<QZMessage>(record); message && message->availableForUse())
            chosen = message;
    if (chosen) {
        defaults->setObject(Value::date(at), kQZMessageDisplayTimestamp);
        defaults->synchronize();
    }
    return chosen;
}

std::optional<double> QZMessage::secondsOf(const char* key)
{
    std::optional<Value::Date> date = valueForKey(key).asDate();
    if (!date) return std::nullopt;
    return date->timeIntervalSince1970;
}

std::shared_ptr<QZMessageText> QZMessage::text(const char* key)
{
    return valueForKey(key).object<QZMessageText>();
}

std::vector<std::shared_ptr<QZMessageText>> QZMessage::orderedBullets()
{
    std::vector<std::shared_ptr<QZMessageText>> bullets;
    for (const auto& object : mutableSetValueForKey("bullets").allObjects())
        if (auto bullet = std::dynamic_pointer_cast<QZMessageText>(object)) bullets.push_back(bullet);
    std::stable_sort(bullets.begin(), bullets.end(),
                     [](const auto& a, const auto& b) { return a->index() < b->index(); });
    return bullets;
}

std::string QZMessage::bannerImageFilename()
{
    const std::string identifier = bannerImageIdentifier();
    if (!QZIsSafeResourceIdentifier(identifier)) return {};
    return identifier + (UIScreen::mainScreen()->scale() > 1.0 ? "@2x" : "") + ".jpg";
}

std::string QZMessage::bannerImagePath()
{
    const std::string filename = bannerImageFilename();
    if (filename.empty()) return {};
    std::optional<std::string> directory = QZFileSystemUtils::applicationSupportDirectory();
    return directory ? *directory + "/" + filename : std::string();
}

std::vector<std::shared_ptr<QZContentPack>> QZMessage::targetPacks()
{
    std::vector<std::shared_ptr<QZContentPack>> packs;
    const std::string identifier = contentIdentifier();
    auto context = managedObjectContext();
    auto packClass = QZManagedObjectClass::classNamed("QZContentPack");
    if (identifier.empty() || !context || !packClass) return packs;
    if (auto records = packClass->fetchAllMatching(NSPredicate::equal("identifier", identifier), *context))
        for (const auto& record : *records)
            if (auto pack = std::dynamic_pointer_cast<QZContentPack>(record)) packs.push_back(pack);
    return packs;
}

std::shared_ptr<QZContentPack> QZMessage::targetPack()
{
    auto packs = targetPacks();
    return packs.empty() ? nullptr : packs.back();
}

bool QZMessage::availableForUse()
{
    return contentIdentifier().empty();
}

void QZMessage::cleanupAssetsWithSave(bool save)
{
    if (assetsRemoved()) return;
    // The path is worked out now: the identifier is cleared below.
    if (std::string banner = bannerImagePath(); !banner.empty())
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                       [banner] { NSFileManager::defaultManager()->removeItemAtPath(banner); });

    auto context = managedObjectContext();
    for (const char* key : kTextKeys) {
        if (auto record = valueForKey(key).object<QZManagedObject>(); record && context) context->deleteObject(record);
        setValueForKey(Value(), key);
    }
    for (const auto& bullet : mutableSetValueForKey("bullets").allObjects())
        if (context) context->deleteObject(bullet);
    setValueForKey(Value(Value::Array{}), "bullets");
    for (const char* key : {"beginDate", "endDate", "contentIdentifier", "action", "layoutStyle", "isSplitButton",
                            "bannerImageIdentifier"})
        setValueForKey(Value(), key);
    setValueForKey(true, "hasBeenShown");
    setValueForKey(true, "assetsRemoved");

    if (save && context) {
        std::shared_ptr<NSError> error;
        if (!context->save(&error))
            NSLog("%s %@", "-[QZMessage cleanupAssetsWithSave:]",
                  NSStringWithFormat("save failed with error %@", error));
    }
}

void QZMessage::updateAttribute(const NSAttributeDescription& attribute, const Value& value)
{
    if (attribute.attributeType() == NSAttributeType::Date) {
        if (value.isNumber() && !value.isBool()) {
            setValueForKey(QZDateFromNumber(value), attribute.name());
        } else {
            NSLog("%s %@", "-[QZMessage updateAttribute:withValue:]", "exepected number");
        }
        return;
    }
    // The name becomes a file in Application Support: only one that stays inside it is kept.
    if (attribute.name() == "bannerImageIdentifier" &&
        (!value.isString() || !QZIsSafeResourceIdentifier(value.stringValue()))) {
        NSLog("%s %@", "-[QZMessage updateAttribute:withValue:]",
              NSStringWithFormat("Refused the banner identifier %@: no banner is kept", value));
        return;
    }
    QZManagedObject::updateAttribute(attribute, value);
}

void QZMessage::updateRelationship(const NSRelationshipDescription& relationship, const Value& value)
{
    if (relationship.name() != "bullets") {
        QZManagedObject::updateRelationship(relationship, value);
        return;
    }
    const Value::Array* elements = value.asArray();
    auto context = managedObjectContext();
    auto textClass = QZManagedObjectClass::classNamed("QZMessageText");
    if (!elements) {
        NSLog("%s %@", "-[QZMessage updateRelationship:withValue:]", "Expected value of type array");
        return;
    }
    if (!context || !textClass) return;
    Value::Array bullets;
    for (std::size_t position = 0; position < elements->size(); ++position) {
        const Value& element = (*elements)[position];
        if (!element.isDictionary()) {
            NSLog("%s %@", "-[QZMessage updateRelationship:withValue:]", "Expected dictionary.");
            continue;
        }
        std::shared_ptr<QZManagedObject> bullet = textClass->createInManagedObjectContext(*context);
        if (!bullet) continue;
        bullet->updateWithDictionary(element);
        bullet->setValueForKey(static_cast<std::int64_t>(position), "index");
        bullets.emplace_back(bullet);
    }
    setValueForKey(Value(std::move(bullets)), "bullets");
}

void QZMessage::awakeFromInsert()
{
    QZManagedObject::awakeFromInsert();
    setValueForKey(Value::date(now()), "timestamp");
    setValueForKey(false, "hasBeenShown");
}

void QZMessage::registerClass()
{
    QZManagedObjectClass::registerRecordClass<QZMessage>("QZMessage", "Message");
}

std::shared_ptr<QZMessage> QZMessage::make(std::shared_ptr<QZContentPack> targetPack)
{
    static std::atomic<int> made{0};
    auto context = QZTesselContentManager::sharedManager()->contentPackManagedObjectContext();
    auto messageClass = QZManagedObjectClass::classNamed("QZMessage");
    auto message = std::dynamic_pointer_cast<QZMessage>(
        messageClass ? messageClass->createInManagedObjectContext(*context) : nullptr);
    if (!message) return nullptr;
    const std::string identifier = "test-message-" + std::to_string(++made);
    const std::string action =
        targetPack ? Value::dictionary({{"action", "store"}, {"pack", targetPack->identifier()}}).toJSON() : "";
    message->updateWithDictionary(Value::dictionary({{"identifier", identifier},
                                                     {"beginDate", static_cast<std::int64_t>(now()) - 60},
                                                     {"layoutStyle", "solidBody"},
                                                     {"action", action},
                                                     {"bannerImageIdentifier", identifier},
                                                     {"header", Value::dictionary({{"text", "A message"}})},
                                                     {"actionButtonText", Value::dictionary({{"text", "Open"}})},
                                                     {"dismissButtonText", Value::dictionary({{"text", "Close"}})}}));
    // A flat 300 x 200 point banner; PNG bytes, which the banner's reader takes as it takes JPEG.
    const CGFloat scale = UIScreen::mainScreen()->scale() > 1.0 ? 2 : 1;
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(300, 200), true, scale);
    UIColor::colorWithRed(0.2f, 0.4f, 0.6f, 1)->setFill();
    UIRectFill(CGRectMake(0, 0, 300, 200));
    auto banner = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    const std::string path = message->bannerImagePath();
    if (auto bytes = UIImagePNGRepresentation(banner); bytes && !path.empty()) QZWriteFileAtomically(path, *bytes);
    return message;
}

void QZMessage::registerMessageForTesting(std::shared_ptr<QZMessage> message)
{
    auto context = QZTesselContentManager::sharedManager()->contentPackManagedObjectContext();
    if (!message) {
        if (auto messageClass = QZManagedObjectClass::classNamed("QZMessage"))
            if (auto records = messageClass->fetchAllInManagedObjectContext(*context))
                for (const auto& record : *records) context->deleteObject(record);
    }
    std::shared_ptr<NSError> error;
    if (context->hasChanges() && !context->save(&error))
        NSLog("%s %@", "+[QZMessage registerMessageForTesting:]",
              NSStringWithFormat("save failed with error %@", error));
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->removeObjectForKey(kQZMessageDisplayTimestamp);
    defaults->synchronize();
}
