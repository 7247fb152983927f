// The options dialog's "Visuals" tab: the colours of the console's output
// pane and entry field, shown on two panels that stand for them beside a
// grey strip for the button panel. Clicking a panel or its text opens the
// colour dialog preset with the stored colour; the choice shows on the
// panel until "Ok" takes it. Each time the tab is shown, the panels show
// the stored colours again.
#pragma once

#include "options/options_page.h"

namespace ostrac::ui {

class ClickableLabel;
class ClickablePanel;

class VisualsPage : public OptionsPage {
    Q_OBJECT

public:
    explicit VisualsPage(QWidget* parent = nullptr);

    void show_settings(const Settings& settings) override;
    void page_shown(const Settings& settings) override { show_settings(settings); }
    void take_settings(Settings& settings) const override;

private:
    // A panel with its label centred on it.
    ClickablePanel* make_panel(const char* name, const char* label_name, ClickableLabel*& label);

    ConsoleColours stored_{};
    ClickablePanel* PMemo = nullptr;
    ClickableLabel* LMemo = nullptr;
    ClickablePanel* PEdit = nullptr;
    ClickableLabel* LEdit = nullptr;
};

}  // namespace ostrac::ui
