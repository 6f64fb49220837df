#pragma once
// An in-app message of the content service, kept in the content store: its date window, card
// layout, action, banner and styled texts. `messageToDisplay` chooses at most one message every
// 72 hours; the card that shows it calls `cleanupAssets` when dismissed, which marks it shown and
// frees its banner and texts. The banner lives in Application Support as `bannerImageFilename`,
// only for an identifier that is a safe path name.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TesselSDK/remote/QZManagedObject.h"

class QZContentPack;
class QZMessageText;

inline constexpr const char* kQZMessageDisplayTimestamp = "kQZMessageDisplayTimestamp";
// Seconds between two chosen messages.
inline constexpr double kQZMessageDisplaySpacing = 259200;

class QZMessage : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    // Main thread: the message to show now from the main-queue context, or nil.
    static std::shared_ptr<QZMessage> messageToDisplay();

    std::string identifier() { return valueForKey("identifier").stringValue(); }
    std::optional<double> beginDate() { return secondsOf("beginDate"); }
    std::optional<double> endDate() { return secondsOf("endDate"); }
    std::optional<double> timestamp() { return secondsOf("timestamp"); }
    bool hasBeenShown() { return valueForKey("hasBeenShown").boolValue(); }
    bool assetsRemoved() { return valueForKey("assetsRemoved").boolValue(); }
    bool shouldDelete() { return valueForKey("shouldDelete").boolValue(); }
    bool isSplitButton() { return valueForKey("isSplitButton").boolValue(); }
    bool showsNewBanner() { return valueForKey("showsNewBanner").boolValue(); }
    std::string contentIdentifier() { return valueForKey("contentIdentifier").stringValue(); }
    std::string action() { return valueForKey("action").stringValue(); }
    std::string layoutStyle() { return valueForKey("layoutStyle").stringValue(); }
    std::string bannerImageIdentifier() { return valueForKey("bannerImageIdentifier").stringValue(); }
    std::shared_ptr<QZMessageText> title() { return text("title"); }
    std::shared_ptr<QZMessageText> header() { return text("header"); }
    std::shared_ptr<QZMessageText> paragraph() { return text("paragraph"); }
    std::shared_ptr<QZMessageText> actionButtonText() { return text("actionButtonText"); }
    std::shared_ptr<QZMessageText> dismissButtonText() { return text("dismissButtonText"); }

    // The bullets by `index`, ascending.
    std::vector<std::shared_ptr<QZMessageText>> orderedBullets();
    // "<bannerImageIdentifier>@2x.jpg" above screen scale 1, else "<bannerImageIdentifier>.jpg";
    // empty when the identifier is no safe path name (no banner is kept for it).
    std::string bannerImageFilename();
    // Application Support + bannerImageFilename; empty when there is none.
    std::string bannerImagePath();
    // The packs of this context whose identifier is contentIdentifier (none or one).
    std::vector<std::shared_ptr<QZContentPack>> targetPacks();
    std::shared_ptr<QZContentPack> targetPack();
    // YES when the message names no content pack.
    bool availableForUse();

    // Marks the message shown and drops its banner (on a global queue), texts and dates; once.
    void cleanupAssets() { cleanupAssetsWithSave(true); }
    void cleanupAssetsWithSave(bool save);

    // Dates arrive as numbers of seconds; bullets get their positions as `index`.
    void updateAttribute(const NSAttributeDescription& attribute, const Value& value) override;
    void updateRelationship(const NSRelationshipDescription& relationship, const Value& value) override;
    void awakeFromInsert() override;

    // Registers the record class "QZMessage" (entity "Message").
    static void registerClass();

    // Tests: inserts into the main-queue context an eligible message whose action opens
    // `targetPack`'s store page (a solid-body card, its banner file written), and answers it.
    static std::shared_ptr<QZMessage> make(std::shared_ptr<QZContentPack> targetPack = nullptr);
    // Tests: saves `message` and forgets the last choice, so it is chosen next; nil deletes every
    // message of the main-queue context.
    static void registerMessageForTesting(std::shared_ptr<QZMessage> message);

private:
    std::optional<double> secondsOf(const char* key);
    std::shared_ptr<QZMessageText> text(const char* key);
};
