#include "TesselSDK/packs/QZEffectContentPackDetailIAPViewController.h"

#include "TesselSDK/packs/QZEffectContentPackIAPPageItemView.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

namespace {
constexpr const char* kEffectPageItemIdentifier = "QZ_EFFECTS_DETAIL_SCROLLBAR_PAGE_ITEM";
}

std::string QZEffectContentPackDetailIAPViewController::titleDescriptor() const
{
    return QZLocalizedString("Effect");
}

std::string QZEffectContentPackDetailIAPViewController::countDescriptor() const
{
    return QZLocalizedString("Effects");
}

std::shared_ptr<QZScrollBarPageItemView>
QZEffectContentPackDetailIAPViewController::scrollBarItemViewForContentPackItems(
    QZScrollBarView* scrollBar, const std::vector<std::shared_ptr<QZContentPackItem>>& items)
{
    auto item = std::dynamic_pointer_cast<QZEffectContentPackIAPPageItemView>(
        scrollBar->dequeueReusableItemWithIdentifier(kEffectPageItemIdentifier));
    if (!item)
        item = QZScrollBarPageItemView::itemWithReuseIdentifier<QZEffectContentPackIAPPageItemView>(
            kEffectPageItemIdentifier);
    item->setRowCount(numberOfRows());
    item->setImagesWithContentPackItems(items, thumbnailGenerator_);
    return item;
}

void QZEffectContentPackDetailIAPViewController::viewDidAppear(bool animated)
{
    QZContentPackDetailIAPViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Effects Store Detail");
}
