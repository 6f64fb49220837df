#pragma once
// A row of a table: a content view (where subviews go) over the background view, the selected
// background view shown while highlighted or selected, and an accessory view at the right. The
// default style shows an image view and a text label; the subtitle style adds a detail label
// below the text. While highlighted or selected (unless the selection style is none) the cell
// shows its selected background and highlights the image views, labels and controls inside it.

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

#include <string>

enum UITableViewCellStyle : NSInteger {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellSelectionStyle : NSInteger {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
};

class UITableViewCell : public UIView {
public:
    using UIView::UIView;

    // A cell of class T made with initWithStyle.
    template <class T = UITableViewCell>
    static std::shared_ptr<T> cellWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier)
    {
        return NSObject::create<T>([&](T& cell) { return cell.initWithStyle(style, reuseIdentifier); });
    }
    // The initialiser (320 x 44); subclasses override it, calling the base first. The value
    // styles lay out as the default one.
    virtual bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier);
    // As initWithStyle with the default style and no identifier, in the frame.
    bool initWithFrame(CGRect frame) override;

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    UITableViewCellStyle style() const { return style_; }
    const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<UILabel>& textLabel() const { return textLabel_; }
    // Null in the default style.
    const std::shared_ptr<UILabel>& detailTextLabel() const { return detailTextLabel_; }

    const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& selectedBackgroundView() const { return selectedBackgroundView_; }
    void setSelectedBackgroundView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<UIView> view);
    UITableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(UITableViewCellSelectionStyle style);

    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { setHighlighted(highlighted, false); }
    virtual void setHighlighted(bool highlighted, bool animated);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected) { setSelected(selected, false); }
    virtual void setSelected(bool selected, bool animated);

    // Before the table hands the cell out again: the base clears highlighted and selected.
    virtual void prepareForReuse();

    void layoutSubviews() override;

private:
    void showSelection();
    void stackBackgrounds();

    std::string reuseIdentifier_;
    UITableViewCellStyle style_ = UITableViewCellStyleDefault;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UILabel> detailTextLabel_;
    std::shared_ptr<UIView> backgroundView_;
    std::shared_ptr<UIView> selectedBackgroundView_;
    std::shared_ptr<UIView> accessoryView_;
    UITableViewCellSelectionStyle selectionStyle_ = UITableViewCellSelectionStyleBlue;
    bool highlighted_ = false;
    bool selected_ = false;
};
