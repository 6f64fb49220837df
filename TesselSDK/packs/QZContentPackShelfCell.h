#pragma once
// One cell of the pack shelf: an icon over a name, with a pill under the active cell. In Get More
// mode it shows the pack type's Get More icon and "Add <type>", and carries the label "Get More"
// for people who use a screen reader.

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>
#include <string>

class QZContentPack;

class QZContentPackShelfCell : public UIView {
public:
    using UIView::UIView;
    static std::shared_ptr<QZContentPackShelfCell> make(CGRect frame, const std::string& contentPackDescriptor);
    virtual bool initWithFrame(CGRect frame, const std::string& contentPackDescriptor);

    // The Get More icon of a descriptor ("Effects", "Frames", "Stickers"); nil for any other.
    static std::optional<std::string> getMoreIconNameForPackDescriptor(const std::string& descriptor);

    const std::string& contentPackDescriptor() const { return contentPackDescriptor_; }
    const std::shared_ptr<QZContentPack>& contentPack() const { return contentPack_; }
    void setContentPack(std::shared_ptr<QZContentPack> pack) { contentPack_ = std::move(pack); }
    bool isGetMore() const { return getMore_; }
    void setGetMore(bool getMore);
    bool isActive() const { return active_; }
    void setActive(bool active);

    const std::shared_ptr<UIImageView>& packIconView() const { return packIconView_; }
    const std::shared_ptr<UIImageView>& plusIconView() const { return plusIconView_; }
    const std::shared_ptr<UILabel>& packLabel() const { return packLabel_; }
    const std::shared_ptr<UIImageView>& activeStateView() const { return activeStateView_; }

    void layoutSubviews() override;

private:
    std::string contentPackDescriptor_;
    std::shared_ptr<QZContentPack> contentPack_;
    bool getMore_ = false;
    bool active_ = false;
    std::shared_ptr<UIImageView> packIconView_;
    std::shared_ptr<UIImageView> plusIconView_;
    std::shared_ptr<UILabel> packLabel_;
    std::shared_ptr<UIImageView> activeStateView_;
};
