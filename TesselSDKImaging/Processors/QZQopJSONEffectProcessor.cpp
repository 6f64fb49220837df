#include "TesselSDKImaging/Processors/QZQopJSONEffectProcessor.h"

#include "Foundation/NSLog.h"
#include "QopLite/QLPL.h"

#include <memory>

void QZQopJSONEffectProcessor::initWithEffectJSONString(std::optional<std::string> json, QopEffectParams_t params)
{
    init();
    setJson(std::move(json));
    setParams(params);
}

QopEffectParams_t QZQopJSONEffectProcessor::params() const
{
    std::lock_guard lock(mutex_);
    return params_;
}

void QZQopJSONEffectProcessor::setParams(QopEffectParams_t params)
{
    std::lock_guard lock(mutex_);
    params_ = params;
}

std::optional<std::string> QZQopJSONEffectProcessor::json() const
{
    std::lock_guard lock(mutex_);
    return json_;
}

void QZQopJSONEffectProcessor::setJson(std::optional<std::string> json)
{
    std::lock_guard lock(mutex_);
    json_ = std::move(json);
}

QZQopBitmapBlock QZQopJSONEffectProcessor::qopBitmapBlock() const
{
    std::shared_ptr<const std::string> recipe;
    if (std::optional<std::string> text = json())
        recipe = std::make_shared<const std::string>(std::move(*text));
    else
        NSLog("%s %@", "-[QZQopJSONEffectProcessor qopBitmapBlock]", "Expected non-nil effect string");
    auto copy = std::make_shared<QopEffectParams_t>(params());
    return [recipe, copy](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (stop && stop->load()) return;
        QopJSONEffect effect = recipe ? QLPLLoadEffect(recipe->c_str()) : nullptr;
        if (!effect)
            NSLog("%s %@", "-[QZQopJSONEffectProcessor qopBitmapBlock]_block_invoke", "Expected non-nil effect effect");
        QLPLRunEffect(effect, bitmap, copy.get());
        QLPLUnloadEffect(&effect);
    };
}
