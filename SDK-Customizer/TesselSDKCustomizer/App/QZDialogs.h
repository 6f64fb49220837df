#pragma once
// The window's dialogs: alerts, the Reset sheet and the choosers. Answers arrive later, on the
// main thread; a cancelled chooser answers nullopt.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace customizer {

class QZDialogs {
public:
    virtual ~QZDialogs() = default;
    // A modal alert with one "OK" button; `dismissed`, when given, runs once it is closed.
    virtual void showAlert(const std::string& title, const std::string& text, std::function<void()> dismissed = {}) = 0;
    // A sheet with "OK" and "Cancel"; the answer is true for "OK".
    virtual void showConfirmation(const std::string& title, const std::string& text, std::function<void(bool ok)> answer) = 0;

    struct Chooser {
        std::string identifier;  // "exportPanelID", "openPanelID", or empty for the save chooser
        std::string title;
        std::string prompt;
        std::vector<std::string> allowedTypes;  // extensions without the dot
        bool selectsFolders = false;
        bool saves = false;
    };
    using ChooserAnswer = std::function<void(std::optional<std::string> path)>;
    virtual void runChooser(const Chooser& chooser, ChooserAnswer answer) = 0;
};

}  // namespace customizer
