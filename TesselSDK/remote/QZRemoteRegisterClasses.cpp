#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

#include "Foundation/NSClass.h"
#include "TesselSDK/remote/QZABTestManager.h"
#include "TesselSDKFoundation/QZAnalyticsTestSummary.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackAnalytics.h"
#include "TesselSDK/remote/QZContentPackClass.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageText.h"
#include "TesselSDK/remote/QZMessageUpdate.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationKey.h"
#include "TesselSDK/remote/QZTranslationValue.h"

namespace {

template <class Pack>
void registerPack(const char* name, const char* entity, const char* itemsClass, const char* packType)
{
    QZManagedObjectClass::registerRecordClass<Pack, QZContentPackClass>(name, entity)->configure(itemsClass, packType);
}

}  // namespace

void TesselSDKRemoteRegisterClasses()
{
    QZManagedObjectRegisterClass();
    registerPack<QZContentPack>("QZContentPack", "Pack", "QZContentPackItem", "");
    registerPack<QZEffectContentPack>("QZEffectContentPack", "EffectPack", "QZEffectContentPackItem", "effect");
    registerPack<QZFrameContentPack>("QZFrameContentPack", "FramePack", "QZFrameContentPackItem", "frame");
    registerPack<QZStickerContentPack>("QZStickerContentPack", "StickerPack", "QZStickerContentPackItem", "sticker");
    QZManagedObjectClass::registerRecordClass<QZContentPackItem>("QZContentPackItem", "PackItem");
    QZManagedObjectClass::registerRecordClass<QZEffectContentPackItem>("QZEffectContentPackItem", "EffectPackItem");
    QZManagedObjectClass::registerRecordClass<QZFrameContentPackItem>("QZFrameContentPackItem", "FramePackItem");
    QZManagedObjectClass::registerRecordClass<QZStickerContentPackItem>("QZStickerContentPackItem", "StickerPackItem");
    NSClass::registerClass<QZContentPackAnalytics>("QZContentPackAnalytics");
    NSClass::registerClass<QZContentPackItemAnalytics>("QZContentPackItemAnalytics");
    QZTranslationKey::registerClass();
    QZTranslationValue::registerClass();
    QZMessage::registerClass();
    QZMessageText::registerClass();
    QZTesselContentManager::setRemoveMessagesMarkedForDeletionHandler(
        &QZMessageUpdate::removeMessagesMarkedForDeletionInContext);
    QZAnalyticsSetTestSummarySource([] { return QZABTestManager::sharedManager()->testSummary(); });
}
