// The enhance modules' names and processors, and the tool module's list.
#include "TesselSDKImaging/Modules/QZAutoEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZBacklightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"
#include "TesselSDKImaging/Processors/QZLabCorrectProcessor.h"
#include "TesselSDKImaging/Processors/QZLocalContrastEnhanceProcessor.h"
#include "TesselSDKImaging/Processors/QZQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZWarmthProcessor.h"
#include "TesselSDKImaging/tests/QZServerRunSupport.h"
#include "TesselSDKImaging/tests/QZToneProcessorRows.h"

#include "QopLite/QopBitmap.h"

#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <typeinfo>

namespace {

class QZEnhanceModulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlatformSettings::setMainBundlePath(
            std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
    }
};

TEST_F(QZEnhanceModulesTest, EachHasItsLocalisedNameAndMakesItsOneProcessor)
{
    struct Row {
        std::function<std::shared_ptr<QZModule>()> make;
        std::function<std::string()> name;
        const char* english;
        const char* portuguese;
        const std::type_info& processor;
        std::optional<QopAutoEnhanceMode> mode;
    };
    const Row rows[] = {
        {[] { return QZAutoEnhanceModule::make(); }, &QZAutoEnhanceModule::name, "Auto", "Automático",
         typeid(QZAutoEnhanceProcessor), QopAutoEnhanceModeAuto},
        {[] { return QZNightEnhanceModule::make(); }, &QZNightEnhanceModule::name, "Illuminate", "Iluminar",
         typeid(QZAutoEnhanceProcessor), QopAutoEnhanceModeNight},
        {[] { return QZBacklightEnhanceModule::make(); }, &QZBacklightEnhanceModule::name, "Backlit", "Contraluz",
         typeid(QZAutoEnhanceProcessor), QopAutoEnhanceModeBacklight},
        {[] { return QZLocalContrastEnhanceModule::make(); }, &QZLocalContrastEnhanceModule::name, "Hi-Def",
         "Alta definição", typeid(QZLocalContrastEnhanceProcessor), std::nullopt},
        {[] { return QZLabCorrectModule::make(); }, &QZLabCorrectModule::name, "Color Fix", "Corrigir cor",
         typeid(QZLabCorrectProcessor), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.english);
        PlatformSettings::setPreferredLanguages({"en"});
        EXPECT_EQ(row.name(), row.english);
        PlatformSettings::setPreferredLanguages({"pt-BR"});
        EXPECT_EQ(row.name(), row.portuguese);
        const std::shared_ptr<QZModule> module = row.make();
        EXPECT_EQ(module->instanceName(), row.portuguese) << "the class's name, read through a module";

        module->setScaleFactor(3);
        const QZProcessorList processors = module->processors();
        ASSERT_EQ(processors.size(), 1u);
        ASSERT_TRUE(processors[0]);
        const QZProcessor& processor = *processors[0];
        EXPECT_EQ(typeid(processor), row.processor);
        EXPECT_EQ(processor.scaleFactor(), 3);
        if (row.mode) {
            EXPECT_EQ(dynamic_cast<const QZAutoEnhanceProcessor&>(processor).mode(), *row.mode);
        }
        EXPECT_NE(module->processors()[0], processors[0]) << "a processor was handed out twice";
    }
}

TEST(QZToolModuleTest, YieldsItsListInOrderAndNothingWithoutOne)
{
    auto module = QZToolModule::make();
    module->addProcessor(QZBrightnessProcessor::make());
    EXPECT_TRUE(module->processors().empty());
    EXPECT_FALSE(module->toolProcessors());

    auto brightness = QZBrightnessProcessor::make();
    auto warmth = QZWarmthProcessor::make();
    module->setToolProcessors(std::make_shared<QZProcessorList>(QZProcessorList{brightness}));
    module->addProcessor(nullptr);
    module->addProcessor(warmth);
    module->setScaleFactor(2);
    const QZProcessorList processors = module->processors();
    EXPECT_EQ(processors, (QZProcessorList{brightness, warmth}));
    EXPECT_EQ(warmth->scaleFactor(), 2);
    EXPECT_EQ(module->processors(), processors) << "asking again yields the same list";
    EXPECT_EQ(module->toolProcessors()->size(), 2u);
}

TEST(QZOriginalModuleTest, MakesTheOriginalEffectWithTheModulesSeedAndBorders)
{
    auto module = QZOriginalModule::make();
    for (const auto& [seed, borders] : {std::pair<std::uint32_t, bool>{0, true}, {77, false}}) {
        module->setParameterSeed(seed);
        module->setBordersEnabled(borders);
        const QZProcessorList processors = module->processors();
        ASSERT_EQ(processors.size(), 1u);
        auto effect = std::dynamic_pointer_cast<QZQopEffectProcessor>(processors[0]);
        ASSERT_TRUE(effect);
        EXPECT_EQ(effect->function(), &QopEffectOriginal);
        EXPECT_EQ(effect->params().seed, seed);
        EXPECT_EQ(effect->params().intensity, 1.0);
        EXPECT_EQ(effect->params().border, borders);
    }
}

// With preprocessing the source is drawn again: an edit left in the buffer is gone, and the
// image is the source's, unchanged.
TEST(QZOriginalModuleTest, RunWithPreprocessingOnACpuServerGivesTheSourceUnchanged)
{
    const qop_test::TestBitmap input = qz_test::makeToneFixture();
    auto server = qz_test::makeDrawnCpuServer(input);
    ASSERT_TRUE(server);
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(40);
    server->runProcessor(brightness);
    ASSERT_FALSE(qz_test::readCpuServer(server) == input);
    auto module = QZOriginalModule::make();
    module->setWillRunOnCPU(true);
    server->runModule(module, true, nullptr);
    EXPECT_TRUE(qz_test::readCpuServer(server) == input);
}

}  // namespace
