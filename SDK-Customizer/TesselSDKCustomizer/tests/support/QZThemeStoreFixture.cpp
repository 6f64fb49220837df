#include "support/QZThemeStoreFixture.h"

#include <algorithm>
#include <filesystem>

namespace customizer::testing {

QZThemeStoreTest::QZThemeStoreTest()
    : data_("XDG_DATA_HOME", home_ / "data"), previous_(QZCustomizationDataManager::setTerminationHandler(
                                                  [](const std::string& reason) { throw QZApplicationEnded(reason); }))
{
    std::string error;
    auto read =
        QZCustomizationDefaults::readFromFile(TESSEL_CUSTOMIZER_RESOURCES_DIR "/CustomizationDefaults.plist", &error);
    EXPECT_TRUE(read) << error;
    if (read) defaults_ = read->appearance();
}

QZThemeStoreTest::~QZThemeStoreTest()
{
    QZCustomizationDataManager::setTerminationHandler(previous_);
    QZCustomizationDataManager::setFaultInjectorForTesting(nullptr);
}

std::unique_ptr<QZCustomizationDataManager> QZThemeStoreTest::start() const
{
    return std::make_unique<QZCustomizationDataManager>(TESSEL_CUSTOMIZER_RESOURCES_DIR);
}

std::string QZThemeStoreTest::storeFolder() const
{
    return home_ / "data/TesselSDKCustomizer";
}

std::string QZThemeStoreTest::storePath() const
{
    return storeFolder() + "/TesselSDKCustomization.sqlite";
}

std::vector<std::string> QZThemeStoreTest::storeFolderEntries() const
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(storeFolder(), ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace customizer::testing
