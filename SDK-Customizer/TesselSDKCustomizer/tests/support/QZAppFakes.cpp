#include "support/QZAppFakes.h"

#include <algorithm>
#include <stdexcept>

namespace customizer::testing {

void QZQueuedMainLoop::post(std::function<void()> block)
{
    std::lock_guard lock(mutex_);
    blocks_.push_back(std::move(block));
}

size_t QZQueuedMainLoop::drain()
{
    size_t ran = 0;
    for (;;) {
        std::function<void()> block;
        {
            std::lock_guard lock(mutex_);
            if (blocks_.empty()) return ran;
            block = std::move(blocks_.front());
            blocks_.pop_front();
        }
        block();
        ++ran;
    }
}

void QZFakeClockAnimator::animate(double seconds, std::function<void(double)> step, std::function<void()> completion)
{
    durationsStarted.push_back(seconds);
    running.push_back({seconds, 0, std::move(step), std::move(completion)});
}

void QZFakeClockAnimator::advance(double seconds)
{
    std::vector<Animation> now = std::move(running);
    running.clear();
    for (Animation& animation : now) {
        animation.elapsed = std::min(animation.seconds, animation.elapsed + seconds);
        if (animation.step) animation.step(animation.elapsed / animation.seconds);
        if (animation.elapsed >= animation.seconds) {
            if (animation.completion) animation.completion();
        } else {
            running.push_back(std::move(animation));
        }
    }
}

QZCountingPanel::QZCountingPanel(QZCustomizationDataManager& manager, size_t row, std::vector<QZCountingPanel*>& live)
    : QZCustomizationParentViewController(manager), row(row), live_(live)
{
    live_.push_back(this);
}

QZCountingPanel::~QZCountingPanel() { live_.erase(std::find(live_.begin(), live_.end(), this)); }

void QZRecordingMasterView::removePanelView(const std::shared_ptr<QZPanelView>& view)
{
    const auto found = std::find(panelViews.begin(), panelViews.end(), view);
    if (found == panelViews.end()) throw std::logic_error("removing a view that is not in the container");
    panelViews.erase(found);
}

void QZRecordingMasterView::setCellSelected(size_t row, bool selected)
{
    if (selected)
        selectedCells.insert(row);
    else
        selectedCells.erase(row);
}

QZExportView& QZRecordingMasterView::addExportView()
{
    ++exportViewsMade;
    exportView = std::make_unique<QZRecordingExportView>();
    return *exportView;
}

void QZScriptedDialogs::showConfirmation(const std::string& title, const std::string& text, std::function<void(bool)> answer)
{
    confirmations.push_back({title, text});
    if (confirmationAnswers.empty()) throw std::logic_error("no scripted answer for " + title);
    const bool ok = confirmationAnswers.front();
    confirmationAnswers.pop_front();
    answer(ok);
}

void QZScriptedDialogs::runChooser(const Chooser& chooser, ChooserAnswer answer)
{
    choosers.push_back(chooser);
    if (chooserAnswers.empty()) throw std::logic_error("no scripted answer for chooser " + chooser.title);
    std::optional<std::string> path = chooserAnswers.front();
    chooserAnswers.pop_front();
    answer(std::move(path));
}

}  // namespace customizer::testing
