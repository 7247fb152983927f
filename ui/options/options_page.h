// One tab of the options dialog. A page shows its part of the settings and
// hands back what the user made of it when "Ok" is pressed; a new kind of
// setting comes with a page of its own, added to the dialog in one line.
#pragma once

#include <QWidget>

#include "options/settings.h"

namespace ostrac::ui {

class OptionsPage : public QWidget {
public:
    using QWidget::QWidget;

    // The settings read at start-up, once, when the dialog is built.
    virtual void show_settings(const Settings& settings) = 0;
    // The tab was brought to the front; `settings` are those in effect.
    virtual void page_shown(const Settings& settings) { static_cast<void>(settings); }
    // "Ok": the page's part of the settings, as edited.
    virtual void take_settings(Settings& settings) const = 0;
    // "Cancel": `settings` are those in effect; a page may drop its edits.
    virtual void cancelled(const Settings& settings) { static_cast<void>(settings); }
};

}  // namespace ostrac::ui
