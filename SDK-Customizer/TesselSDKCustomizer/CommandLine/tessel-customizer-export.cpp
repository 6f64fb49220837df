// tessel-customizer-export [--theme FILE] [--no-compress] --out DIR
// Exports the theme in FILE (default: the built-in default theme) as DIR/TesselSDKResources.bundle
// with the customizer's resources beside this program. Progress, notices and errors go to stderr;
// stdout holds one line, the bundle's final status. Exit 0 on success, 1 when the export fails
// (nothing half-written left in DIR; DIR is not made when the theme cannot be read), 2 for a
// malformed command line. Never touches the user's theme store.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine/QZExportCommandLine.h"
#include "Export/QZImageSaver.h"
#include "Model/QZApplicationResources.h"
#include "Model/QZCustomizationDefaults.h"
#include "Model/QZThemeDatabase.h"

using namespace customizer;

namespace {

class ProgressOnStandardError : public QZImageSaverDelegate {
public:
    void imageSaverFinishedSavingImageGroup(QZImageSaver&, int64_t saved, int64_t total) override
    {
        std::fprintf(stderr, "%ld / %ld Image Groups Saved\n", long(saved), long(total));
    }
    void imageSaverFinishedSavingAllImages(QZImageSaver&) override { std::fprintf(stderr, "Saving Completed.\n"); }
    void imageSaverFinishedCrushingImage(QZImageSaver&, int64_t crushed, int64_t total) override
    {
        std::fprintf(stderr, "%ld / %ld Images Compressed\n", long(crushed), long(total));
    }
    void imageSaverFinishedCrushingAllImages(QZImageSaver&) override
    {
        std::fprintf(stderr, "Compression Completed.\n");
    }
};

int failure(const std::string& why)
{
    std::fprintf(stderr, "tessel-customizer-export: %s\n", why.c_str());
    return 1;
}

std::optional<OverallAppearance> readTheme(const QZExportOptions& options, const std::string& resources,
                                           std::string* error)
{
    if (options.themeFile) return QZReadThemeFile(*options.themeFile, error);
    std::optional<QZCustomizationDefaults> defaults = QZCustomizationDefaults::readFromFile(
        QZApplicationResourcePath(resources, kQZCustomizationDefaultsFileName), error);
    if (!defaults) return std::nullopt;
    return defaults->appearance();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    std::optional<QZExportOptions> options =
        QZParseExportCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::fprintf(stderr, "tessel-customizer-export: %s\n%s\n", error.c_str(), kQZExportUsage);
        return 2;
    }
    std::string resources = QZApplicationResourcesFolder();
    std::optional<QZExportLists> lists = QZExportLists::read(resources, &error);
    if (!lists) return failure(error);
    std::optional<OverallAppearance> theme = readTheme(*options, resources, &error);
    if (!theme) return failure(error);

    QZImageSaver saver(std::move(*theme), std::move(*lists));
    ProgressOnStandardError progress;
    saver.setDelegate(&progress);
    QZExportResult result = saver.saveImages(options->exportFolder, options->compress);
    if (!result.succeeded()) return failure(result.error);
    std::printf("%s\n", result.status.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
