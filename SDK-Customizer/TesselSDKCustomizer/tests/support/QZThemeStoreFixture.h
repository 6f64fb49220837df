#pragma once
// A fixture for the theme store: its own data folder (XDG_DATA_HOME), the built resource folder
// for the defaults, and a termination handler that throws QZApplicationEnded instead of ending
// the test.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "Model/QZCustomizationDataManager.h"
#include "support/QZTestFolders.h"

namespace customizer::testing {

struct QZApplicationEnded : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class QZThemeStoreTest : public ::testing::Test {
protected:
    QZThemeStoreTest();
    ~QZThemeStoreTest() override;

    // A new manager, as at a start of the application.
    std::unique_ptr<QZCustomizationDataManager> start() const;
    const OverallAppearance& defaults() const { return defaults_; }
    std::string storePath() const;
    std::string storeFolder() const;
    // The names in the store's folder, sorted.
    std::vector<std::string> storeFolderEntries() const;

    QZTemporaryFolder home_;
    QZScopedEnvironment data_;

private:
    QZCustomizationDataManager::TerminationHandler previous_;
    OverallAppearance defaults_;
};

}  // namespace customizer::testing
