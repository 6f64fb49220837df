#include "TesselSDK/remote/QZMessagesDataModel.h"

#include <cstdio>
#include <string>

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSRelationshipDescription.h"
#include "CoreData/NSValueTransformer.h"
#include "UIKit/UIColor.h"

namespace {

// Colours are stored as the text "r g b a" of their RGBA components.
class QZColorValueTransformer : public NSValueTransformer {
public:
    using NSValueTransformer::NSValueTransformer;

    Value transformedValue(const Value& value) const override
    {
        auto colour = value.object<UIColor>();
        CGFloat r = 0, g = 0, b = 0, a = 0;
        if (!colour || !colour->getRed(&r, &g, &b, &a)) return {};
        char text[128];
        const int length = std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", static_cast<double>(r),
                                         static_cast<double>(g), static_cast<double>(b), static_cast<double>(a));
        return Value::data(text, static_cast<std::size_t>(length));
    }

    Value reverseTransformedValue(const Value& data) const override
    {
        const Value::Data* bytes = data.asData();
        if (!bytes) return {};
        const std::string text(bytes->begin(), bytes->end());
        double r = 0, g = 0, b = 0, a = 0;
        if (std::sscanf(text.c_str(), "%lf %lf %lf %lf", &r, &g, &b, &a) != 4) return {};
        return Value(UIColor::colorWithRed(r, g, b, a));
    }
};

}  // namespace

void QZAddMessageEntities(NSManagedObjectModel& model)
{
    using T = NSAttributeType;
    using R = NSRelationshipDescription;
    auto attribute = [](const char* name, T type) { return NSAttributeDescription::attribute(name, type); };

    auto message = NSEntityDescription::entity("Message", "QZMessage");
    for (const auto& property : std::initializer_list<std::shared_ptr<NSPropertyDescription>>{
             attribute("identifier", T::String), attribute("timestamp", T::Date), attribute("beginDate", T::Date),
             attribute("endDate", T::Date), attribute("hasBeenShown", T::Boolean),
             attribute("assetsRemoved", T::Boolean), attribute("shouldDelete", T::Boolean),
             attribute("isSplitButton", T::Boolean), attribute("showsNewBanner", T::Boolean),
             attribute("contentIdentifier", T::String), attribute("action", T::String),
             attribute("layoutStyle", T::String), attribute("bannerImageIdentifier", T::String),
             // The five texts link one way; the bullets are the texts whose `message` names this one.
             R::relationship("title", "MessageText", false, {}, NSCascadeDeleteRule),
             R::relationship("header", "MessageText", false, {}, NSCascadeDeleteRule),
             R::relationship("paragraph", "MessageText", false, {}, NSCascadeDeleteRule),
             R::relationship("actionButtonText", "MessageText", false, {}, NSCascadeDeleteRule),
             R::relationship("dismissButtonText", "MessageText", false, {}, NSCascadeDeleteRule),
             R::relationship("bullets", "MessageText", true, "message", NSCascadeDeleteRule)})
        message->addProperty(property);
    model.addEntity(message);

    auto colours = NSObject::create<QZColorValueTransformer>();
    auto text = NSEntityDescription::entity("MessageText", "QZMessageText");
    for (const auto& property : std::initializer_list<std::shared_ptr<NSPropertyDescription>>{
             attribute("text", T::String), NSAttributeDescription::transformable("textColor", colours, "UIColor"),
             NSAttributeDescription::transformable("textShadowColor", colours, "UIColor"),
             attribute("shadowOffset", T::String), attribute("isBold", T::Boolean), attribute("index", T::Integer64),
             attribute("fontSize", T::Double), attribute("alignment", T::Integer64),
             R::relationship("message", "Message", false, "bullets")})
        text->addProperty(property);
    model.addEntity(text);
}
