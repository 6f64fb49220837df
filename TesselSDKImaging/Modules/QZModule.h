#pragma once
// One applied edit: an object that produces, in run order, the processors that perform it, and may
// first prepare the image server it runs on. Editing sessions record modules and replay them on
// other images; image servers run them.
//
// Callers set the module's properties, then ask for `processors` once per run: it is built anew at
// every ask, so a subclass chooses its processors from the properties of that moment.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "CoreGraphics/CGBase.h"
#include "Foundation/NSObject.h"

#include <cstdint>
#include <memory>
#include <string>

class QZImageServer;

class QZModule : public NSObject {
public:
    using NSObject::NSObject;
    // new.
    static std::shared_ptr<QZModule> make() { return NSObject::create<QZModule>(&QZModule::init); }

    // +name: the class's display name. A subclass that names itself declares its own `name()` and
    // answers it from instanceName(), through which callers holding a module read its class's name.
    static std::string name() { return "QZModule"; }
    virtual std::string instanceName() const { return className(); }

    // A fresh list from createProcessors:, every processor given the module's scaleFactor.
    QZProcessorList processors();
    // Hook: each subclass appends its processors; the base adds none.
    virtual void createProcessors(QZProcessorList& processors);
    // Hook the server calls before the processors when preprocessing is asked for; nothing in the
    // base. Overrides call the base first.
    virtual void preprocess(const std::shared_ptr<QZImageServer>& server);

    // Set by a replay: the larger of the server's size over the editing size, by side.
    CGFloat scaleFactor() const { return scaleFactor_; }
    void setScaleFactor(CGFloat scaleFactor) { scaleFactor_ = scaleFactor; }
    // Copied into the effect parameters of the effect processors the module makes.
    std::uint32_t parameterSeed() const { return parameterSeed_; }
    void setParameterSeed(std::uint32_t seed) { parameterSeed_ = seed; }
    bool bordersEnabled() const { return bordersEnabled_; }
    void setBordersEnabled(bool enabled) { bordersEnabled_ = enabled; }
    // Set by a replay just before running the module: YES when it has no GL instance.
    bool willRunOnCPU() const { return willRunOnCPU_; }
    void setWillRunOnCPU(bool onCPU) { willRunOnCPU_ = onCPU; }

protected:
    // Subclass initialisers call it first, then set their own defaults.
    void init() {}

private:
    CGFloat scaleFactor_ = 1.0f;
    std::uint32_t parameterSeed_ = 0;
    bool bordersEnabled_ = true;
    bool willRunOnCPU_ = false;
};
