#pragma once
// One styled text of a message (its title, header, paragraph, button titles or a bullet): the text,
// its colours, shadow offset, weight, size and alignment, and for a bullet its position. Texts are
// never matched by a key: every text object of a message document makes a new record.

#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "TesselSDK/remote/QZManagedObject.h"

class UIColor;

class QZMessageText : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    std::string text() { return valueForKey("text").stringValue(); }
    // Null when the document gave none.
    std::shared_ptr<UIColor> textColor();
    std::shared_ptr<UIColor> textShadowColor();
    // Kept as the size's standard text; an attribute without one answers (0, 1).
    CGSize shadowOffset();
    void setShadowOffset(CGSize offset);
    bool hasShadowOffset() { return valueForKey("shadowOffset").isString(); }
    bool isBold() { return valueForKey("isBold").boolValue(); }
    int index() { return valueForKey("index").intValue(); }
    double fontSize() { return valueForKey("fontSize").doubleValue(); }
    int alignment() { return valueForKey("alignment").intValue(); }

    // Sizes and colours arrive as dictionaries; a value of another shape is logged and left unset.
    void updateAttribute(const NSAttributeDescription& attribute, const Value& value) override;

    // Registers the record class "QZMessageText" (entity "MessageText", no unique key).
    static void registerClass();
};
