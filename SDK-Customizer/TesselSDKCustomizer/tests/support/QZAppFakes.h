#pragma once
// Recording stand-ins for what the presenters talk to: the views, the dialogs (with scripted
// answers), the animator on a fake clock and a main loop the test drains.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "App/QZAnimator.h"
#include "App/QZCustomizationParentViewController.h"
#include "App/QZDialogs.h"
#include "App/QZExportView.h"
#include "App/QZMainLoop.h"
#include "App/QZMasterView.h"

namespace customizer::testing {

class QZQueuedMainLoop : public QZMainLoop {
public:
    void post(std::function<void()> block) override;
    // Runs what was posted, including what that posts; answers how many ran.
    size_t drain();

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> blocks_;
};

class QZFakeClockAnimator : public QZAnimator {
public:
    struct Animation {
        double seconds;
        double elapsed = 0;
        std::function<void(double)> step;
        std::function<void()> completion;
    };
    void animate(double seconds, std::function<void(double)> step, std::function<void()> completion) override;
    // Moves every running animation on; finished ones complete (which may start new ones).
    void advance(double seconds);
    std::vector<double> durationsStarted;
    std::vector<Animation> running;
};

class QZRecordingExportView : public QZExportView {
public:
    void setHidden(const std::string& outlet, bool hidden) override { hidden_[outlet] = hidden; }
    void setText(const std::string& outlet, const std::string& text) override { texts[outlet].push_back(text); }
    void setSpinning(const std::string& outlet, bool spinning) override { spinning_[outlet] = spinning; }
    bool shown(const std::string& outlet) const { return hidden_.count(outlet) && !hidden_.at(outlet); }
    bool spinning(const std::string& outlet) const { return spinning_.count(outlet) && spinning_.at(outlet); }
    std::map<std::string, std::vector<std::string>> texts;

private:
    std::map<std::string, bool> hidden_;
    std::map<std::string, bool> spinning_;
};

class QZRecordingPanelView : public QZPanelView {
public:
    void setAlpha(double value) override { alpha = value; }
    double alpha = 1;
};

// A panel that counts how often it filled its controls.
class QZCountingPanel : public QZCustomizationParentViewController {
public:
    QZCountingPanel(QZCustomizationDataManager& manager, size_t row, std::vector<QZCountingPanel*>& live);
    ~QZCountingPanel() override;
    void setupControls() override { ++setups; }
    std::shared_ptr<QZPanelView> view() const override { return view_; }
    size_t row;
    int setups = 0;

private:
    std::shared_ptr<QZRecordingPanelView> view_ = std::make_shared<QZRecordingPanelView>();
    std::vector<QZCountingPanel*>& live_;
};

class QZRecordingMasterView : public QZMasterView {
public:
    void setHidden(const std::string& outlet, bool hidden) override { this->hidden[outlet] = hidden; }
    void setEnabled(const std::string& outlet, bool enabled) override { this->enabled[outlet] = enabled; }
    void setChecked(const std::string& outlet, bool checked) override { this->checked[outlet] = checked; }
    void addPanelView(const std::shared_ptr<QZPanelView>& view) override { panelViews.push_back(view); }
    void removePanelView(const std::shared_ptr<QZPanelView>& view) override;
    void setCellSelected(size_t row, bool selected) override;
    void selectRow(size_t row) override { rowsSelected.push_back(row); }
    QZExportView& addExportView() override;
    void removeExportView() override { lastExportView = std::move(exportView); }

    std::map<std::string, bool> hidden, enabled, checked;
    std::vector<std::shared_ptr<QZPanelView>> panelViews;
    std::set<size_t> selectedCells;
    std::vector<size_t> rowsSelected;
    std::unique_ptr<QZRecordingExportView> exportView, lastExportView;
    int exportViewsMade = 0;
};

class QZScriptedDialogs : public QZDialogs {
public:
    struct Alert {
        std::string title, text;
    };
    // The user presses "OK" at once.
    void showAlert(const std::string& title, const std::string& text, std::function<void()> dismissed = {}) override
    {
        alerts.push_back({title, text});
        if (dismissed) dismissed();
    }
    void showConfirmation(const std::string& title, const std::string& text, std::function<void(bool)> answer) override;
    void runChooser(const Chooser& chooser, ChooserAnswer answer) override;

    std::vector<Alert> alerts;
    std::vector<Alert> confirmations;
    std::deque<bool> confirmationAnswers;
    std::vector<Chooser> choosers;
    std::deque<std::optional<std::string>> chooserAnswers;  // nullopt cancels
};

}  // namespace customizer::testing

#include "App/QZPanelControls.h"

namespace customizer::testing {

// A panel's controls: wells hold what they were given, every image view is 120 x 50 (wide
// enough for the navigation bar), images and colours are recorded per outlet.
class QZRecordingPanelControls : public QZPanelControls {
public:
    void setAlpha(double value) override { alpha = value; }
    void setWellColor(const std::string& outlet, const NSColorPtr& color) override { wells[outlet] = color; }
    NSColorPtr wellColor(const std::string& outlet) const override { return wells.count(outlet) ? wells.at(outlet) : nullptr; }
    void setImage(const std::string& outlet, const NSImagePtr& image) override { images[outlet].push_back(image); }
    void setImageNamed(const std::string& outlet, const std::string& name) override { namedImages[outlet] = name; }
    CGSize boundsSize(const std::string&) const override { return {120, 50}; }
    void setTextColor(const std::string& outlet, const NSColorPtr& color) override { textColors[outlet] = color; }
    void setChecked(const std::string& outlet, bool checked) override { this->checked[outlet] = checked; }
    void setHidden(const std::string& outlet, bool hidden) override { this->hidden[outlet] = hidden; }
    void setBackgroundColor(const std::string& outlet, const NSColorPtr& color) override { backgrounds[outlet] = color; }

    double alpha = 1;
    std::map<std::string, NSColorPtr> wells, textColors, backgrounds;
    std::map<std::string, std::string> namedImages;
    std::map<std::string, std::vector<NSImagePtr>> images;
    std::map<std::string, bool> checked, hidden;
};

}  // namespace customizer::testing
