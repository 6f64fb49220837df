#include "TesselSDK/shell/QZViewController.h"

bool QZViewController::initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle)
{
    if (!UIViewController::initWithNibName(nibName, std::move(bundle))) return false;
    customNavigationItem_ = UINavigationItem::make<QZNavigationItem>();
    customNavigationItem_->setNavigationTitleColor(UIColor::whiteColor());
    return true;
}

void QZViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    if (customNavigationItem_) customNavigationItem_->setTitle(title());
}
