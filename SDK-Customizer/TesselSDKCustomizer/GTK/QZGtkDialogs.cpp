#include "GTK/QZGtkDialogs.h"

namespace customizer {

namespace {

Gtk::MessageDialog* makeMessageDialog(Gtk::Window* window, const std::string& title, Gtk::MessageType type,
                                      Gtk::ButtonsType buttons)
{
    if (window) return new Gtk::MessageDialog(*window, title, false, type, buttons, true);
    return new Gtk::MessageDialog(title, false, type, buttons, true);
}

}  // namespace

void QZGtkDialogs::showAlert(const std::string& title, const std::string& text, std::function<void()> dismissed)
{
    auto* dialog = makeMessageDialog(window_, title, Gtk::MessageType::WARNING, Gtk::ButtonsType::OK);
    if (!text.empty()) dialog->set_secondary_text(text);
    dialog->signal_response().connect([dialog, dismissed](int) {
        delete dialog;
        if (dismissed) dismissed();
    });
    dialog->show();
}

void QZGtkDialogs::showConfirmation(const std::string& title, const std::string& text, std::function<void(bool)> answer)
{
    auto* dialog = makeMessageDialog(window_, title, Gtk::MessageType::QUESTION, Gtk::ButtonsType::NONE);
    dialog->set_secondary_text(text);
    dialog->add_button("Cancel", Gtk::ResponseType::CANCEL);
    dialog->add_button("OK", Gtk::ResponseType::OK);
    dialog->signal_response().connect([dialog, answer](int response) {
        delete dialog;
        answer(response == Gtk::ResponseType::OK);
    });
    dialog->show();
}

void QZGtkDialogs::runChooser(const Chooser& chooser, ChooserAnswer answer)
{
    const auto action = chooser.saves ? Gtk::FileChooser::Action::SAVE
                        : chooser.selectsFolders ? Gtk::FileChooser::Action::SELECT_FOLDER
                                                 : Gtk::FileChooser::Action::OPEN;
    auto native = window_ ? Gtk::FileChooserNative::create(chooser.title, *window_, action, chooser.prompt, "Cancel")
                          : Gtk::FileChooserNative::create(chooser.title, action, chooser.prompt, "Cancel");
    if (!chooser.selectsFolders) {
        auto filter = Gtk::FileFilter::create();
        for (const std::string& type : chooser.allowedTypes) filter->add_pattern("*." + type);
        native->add_filter(filter);
    }
    native->set_modal(true);
    native->signal_response().connect([native, answer](int response) {
        std::optional<std::string> path;
        if (response == int(Gtk::ResponseType::ACCEPT))
            if (auto file = native->get_file()) path = file->get_path();
        answer(path);
    });
    native->show();
}

}  // namespace customizer
