#pragma once
// The base of every conveyor cell: a background that shows the cell's type, whether it is just
// left of the selected cell (adjacent), and whether it is the selected one (depressed).

#include "TesselSDKFoundation/QZConveyorTypes.h"
#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"

class QZConveyorViewCell : public QZHorizontalTableViewCell {
public:
    using QZHorizontalTableViewCell::QZHorizontalTableViewCell;

    template <class T = QZConveyorViewCell>
    static std::shared_ptr<T> cellWithReuseIdentifier(const std::string& reuseIdentifier)
    {
        return NSObject::create<T>([&](T& cell) { return cell.initWithReuseIdentifier(reuseIdentifier); });
    }
    // A default-style cell without selection look, its background filling it.
    virtual bool initWithReuseIdentifier(const std::string& reuseIdentifier);

    // Not adjacent, not depressed.
    virtual void reset();
    QZConveyorViewType type() const { return type_; }
    void setType(QZConveyorViewType type);
    bool isAdjacent() const { return adjacent_; }
    void setAdjacent(bool adjacent);
    // The background's highlighted flag; subclasses add their own look.
    virtual void setDepressed(bool depressed);
    bool isDepressed() const { return backgroundImageView_->isHighlighted(); }

    const std::shared_ptr<UIImageView>& backgroundImageView() const { return backgroundImageView_; }

private:
    QZConveyorViewType type_ = QZConveyorViewTypeSingle;
    bool adjacent_ = false;
    std::shared_ptr<UIImageView> backgroundImageView_;
};

// The conveyor background of the type in a state ("" normal, "-adjacent", "-active"), made
// resizable with the caps that state uses.
std::shared_ptr<UIImage> QZConveyorBackgroundImage(QZConveyorViewType type, const char* state);
