#pragma once
// The base of the strip's cells: a preview (that derived cells fill) over a name, a highlight pill
// under the chosen cell, and a fly-in. It shows a pack or an item, never both. The cell is turned
// upright in the turned table, so its bounds are what the screen shows: 72 points along the
// strip by the strip's height.

#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"
#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIActivityIndicatorView.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

class QZContentPack;
class QZContentPackItem;

class QZContentPackUnifiedSelectionViewCell : public QZHorizontalTableViewCell {
public:
    using QZHorizontalTableViewCell::QZHorizontalTableViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<QZView>& previewContainerView() const { return previewContainerView_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const std::shared_ptr<UIImageView>& activeImageView() const { return activeImageView_; }

    const std::shared_ptr<QZContentPack>& contentPack() const { return contentPack_; }
    const std::shared_ptr<QZContentPackItem>& contentPackItem() const { return contentPackItem_; }
    // Each clears the other and takes the object's localised name as the title.
    virtual void setContentPack(std::shared_ptr<QZContentPack> pack);
    virtual void setContentPackItem(std::shared_ptr<QZContentPackItem> item);

    bool isActive() const { return active_; }
    // The preview rises 6 points and the pill fades in (0.1 s steps when animated), or back.
    virtual void setActive(bool active, bool animated);
    // Preview, name and pill grow from nothing after the delay, over 0.2 s.
    void animateInWithDelay(double seconds);
    // Sent by the tool to every visible cell when a download moves on; nothing here.
    virtual void update() {}

    // Held for derived cells that show a loading state.
    bool isLoading() const { return loading_; }
    void setLoading(bool loading) { loading_ = loading; }
    const std::shared_ptr<UIActivityIndicatorView>& wheelView() const { return wheelView_; }
    void setWheelView(std::shared_ptr<UIActivityIndicatorView> view) { wheelView_ = std::move(view); }

    void layoutSubviews() override;

protected:
    // The preview's place, raised while active; the pill's and the name's.
    CGRect previewFrame(bool active) const;
    CGRect labelFrame() const;
    CGRect pillFrame() const;

private:
    std::shared_ptr<QZView> previewContainerView_;
    std::shared_ptr<UILabel> label_;
    std::string title_;
    std::shared_ptr<UIImageView> activeImageView_;
    std::shared_ptr<QZContentPack> contentPack_;
    std::shared_ptr<QZContentPackItem> contentPackItem_;
    bool active_ = false;
    bool loading_ = false;
    std::shared_ptr<UIActivityIndicatorView> wheelView_;
};
