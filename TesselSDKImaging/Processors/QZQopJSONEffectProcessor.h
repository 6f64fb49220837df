#pragma once
// Runs one effect recipe (JSON) with effect parameters. The recipe is parsed anew at every run of
// the block and freed after it; one that does not parse is logged and leaves the image as it was.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "QopLite/QopTypes.h"

#include <mutex>
#include <optional>
#include <string>

class QZQopJSONEffectProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZQopJSONEffectProcessor> make()
    {
        return NSObject::create<QZQopJSONEffectProcessor>(&QZQopJSONEffectProcessor::init);
    }
    // initWithEffectJSONString:params:.
    static std::shared_ptr<QZQopJSONEffectProcessor> make(std::optional<std::string> json, QopEffectParams_t params)
    {
        return NSObject::create<QZQopJSONEffectProcessor>(&QZQopJSONEffectProcessor::initWithEffectJSONString,
                                                          std::move(json), params);
    }

    // Read and written whole.
    QopEffectParams_t params() const;
    void setParams(QopEffectParams_t params);
    // The recipe document; nullopt is nil.
    std::optional<std::string> json() const;
    void setJson(std::optional<std::string> json);

    // A missing recipe is logged here; the block then logs at every run.
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    void initWithEffectJSONString(std::optional<std::string> json, QopEffectParams_t params);

    mutable std::mutex mutex_;
    QopEffectParams_t params_{};
    std::optional<std::string> json_;
};
