#include "console/tform1.h"

#include <QBoxLayout>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <variant>

#include "chart/tfgraph.h"
#include "common/clickable_label.h"
#include "common/compact_button.h"
#include "common/quit_signals.h"
#include "common/readable_colour.h"
#include "common/widget_making.h"
#include "common/window_stacking.h"
#include "console/entry_field.h"
#include "console/help_window.h"
#include "console/memo_file.h"
#include "console/output_pane.h"
#include "console/pane_menu.h"
#include "console/paste_feeder.h"
#include "console/session_keeper.h"
#include "console/tabout_box.h"
#include "editor/tfeditor.h"
#include "options/search_paths.h"
#include "options/toptions.h"
#include "session/home_folder.h"
#include "wizard/tfwizard.h"

namespace ostrac::ui {

namespace {

using session::RunState;

// Design colour of the panes until the settings apply the stored ones. The
// rest of the window takes the desktop's palette, light or dark.
constexpr QRgb pane_colour = 0x000080;  // navy

// Mode label texts by system variable value; the trailing blanks belong to
// the texts.
constexpr std::array angle_texts{"RAD  ", "DEG  ", "GRAD "};
constexpr std::array coord_texts{"RECT  ", "POLAR  "};

// The entry field keeps room for an answer of this many characters
// beside a long INPUT prompt.
constexpr int answer_characters = 8;

// The designed colour of Break's caption.
constexpr QRgb break_colour = 0x0000FF;  // blue

// How often the engine's output is polled while the worker runs, and how
// long one poll may work before it lets the event loop run.
constexpr int poll_interval = 10;  // ms
constexpr std::chrono::milliseconds drain_budget{4};

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

void set_colours(QWidget* widget, QPalette::ColorRole background_role, QColor background,
                 QPalette::ColorRole text_role, QColor text) {
    QPalette palette = widget->palette();
    palette.setColor(background_role, background);
    palette.setColor(text_role, text);
    widget->setPalette(palette);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), host_(gate_), session_(host_), worker_(session_, gate_) {
    setObjectName("Form1");
    setWindowTitle("Ostrac Calculator");
    setAutoFillBackground(true);

    build_panel();

    Memo1 = new OutputPane(this);
    Memo1->setObjectName("Memo1");
    set_colours(Memo1, QPalette::Base, pane_colour, QPalette::Text, Qt::white);
    connect(Memo1, &OutputPane::keyPressed, this, [this] { Edit1->setFocus(); });

    Edit1 = new EntryField(this);
    Edit1->setObjectName("Edit1");
    set_colours(Edit1, QPalette::Base, pane_colour, QPalette::Text, Qt::white);
    connect(Edit1, &EntryField::entered, this, &TForm1::console_submit);

    LEntry = new QLabel(this);
    LEntry->setObjectName("LEntry");
    LEntry->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    build_layout();
    follow_font();
    colour_break();
    show_prompt(">>");
    Edit1->setFocus();
    paste_ = new PasteFeeder(*Edit1, [this] { return run_state() == RunState::Idle; }, [this] { console_submit(); });
    keeper_ = std::make_unique<SessionKeeper>(worker_, session_.run_state, *Edit1);
    new PaneMenu(*Memo1, *this, session_.run_state);
    connect(new QuitSignals(this), &QuitSignals::received, this, &QWidget::close);

    options_ = new TOptions(this);
    connect(options_, &TOptions::settingsAccepted, this, &TForm1::apply_settings);
    help_ = new HelpWindow(this);
    graph_ = new TFGraph(this);
    wizard_ = new TFWizard(this);
    connect(wizard_, &TFWizard::entryComposed, this, &TForm1::console_set_entry);
    connect(wizard_, &TFWizard::submitRequested, this, &TForm1::console_submit);
    connect(Edit1, &EntryField::helpRequested, wizard_, &TFWizard::show_function);
    editor_ = new TFEditor(*this, this);
    connect(this, &TForm1::editorShowLine, editor_, &TFEditor::editor_show_line);
    connect(this, &TForm1::editorReset, editor_, &TFEditor::editor_reset);
    connect(this, &TForm1::workerParked, editor_, &TFEditor::worker_parked);

    connect(&drain_timer_, &QTimer::timeout, this, &TForm1::drain_slice);

    // Client area of the designed 464 x 241 window, or what the font needs.
    resize(QSize(455, 184).expandedTo(minimumSizeHint()));
    update_buttons();
}

TForm1::~TForm1() = default;

void TForm1::build_panel() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setAutoFillBackground(true);
    Panel1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    Panel1->installEventFilter(this);

    Lmode = new ClickableLabel(angle_texts[0], Panel1);
    Lmode->setObjectName("Lmode");
    Lvmode = new ClickableLabel(coord_texts[0], Panel1);
    Lvmode->setObjectName("Lvmode");
    for (ClickableLabel* label : {Lmode, Lvmode}) {
        // Drawn like links, which they act as.
        label->setForegroundRole(QPalette::Link);
        label->setCursor(Qt::PointingHandCursor);
    }
    connect(Lmode, &ClickableLabel::clicked, this, &TForm1::LmodeClick);
    connect(Lvmode, &ClickableLabel::clicked, this, &TForm1::LvmodeClick);

    // Flat buttons, as designed, except the three raised ones.
    const auto button = [this](const QString& text, const char* name, bool raised = false) {
        auto* made = new CompactButton(text, name, Panel1);
        made->setAutoRaise(!raised);
        return made;
    };
    auto* editor_button = button("Editor", "B_Edit");
    connect(editor_button, &QAbstractButton::clicked, this, [this] { bring_to_front(editor_); });
    auto* graph_button = button("Graph", "B_graph");
    connect(graph_button, &QAbstractButton::clicked, this, [this] { bring_to_front(graph_); });
    BBreak = button("Break", "BBreak");
    connect(BBreak, &QAbstractButton::clicked, this, &TForm1::BBreakClick);
    BLoad1 = button("Load", "BLoad1", true);
    connect(BLoad1, &QAbstractButton::clicked, this, &TForm1::BLoad1Click);
    Bsave2 = button("Save", "Bsave2", true);
    connect(Bsave2, &QAbstractButton::clicked, this, &TForm1::Bsave2Click);
    auto* options_button = button("Option", "BOptions");
    connect(options_button, &QAbstractButton::clicked, this, [this] { bring_to_front(options_); });
    auto* help_button = button("Help", "BAyuda");
    connect(help_button, &QAbstractButton::clicked, this, &TForm1::BAyudaClick);
    auto* about_button = button("?", "Button1", true);
    connect(about_button, &QAbstractButton::clicked, this, &TForm1::Button1Click);
    auto* wizard_button = button("Fx ...", "SpeedButton1");
    connect(wizard_button, &QAbstractButton::clicked, this, &TForm1::SpeedButton1Click);

    // Two columns, rows from top to bottom as designed.
    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(1);
    grid->setVerticalSpacing(1);
    grid->addWidget(make_label("angle:", "Label1", Panel1), 0, 0);
    grid->addWidget(Lmode, 0, 1);
    grid->addWidget(make_label("coord:", "Label2", Panel1), 1, 0);
    grid->addWidget(Lvmode, 1, 1);
    grid->addWidget(editor_button, 2, 0);
    grid->addWidget(graph_button, 2, 1);
    grid->addWidget(BBreak, 3, 0);
    grid->addWidget(make_label("State", "Label3", Panel1), 4, 0);
    grid->addWidget(BLoad1, 5, 0);
    grid->addWidget(Bsave2, 5, 1);
    grid->addWidget(options_button, 6, 0);
    grid->addWidget(help_button, 6, 1);
    grid->addWidget(about_button, 7, 0);
    grid->addWidget(wizard_button, 7, 1);
    grid->setRowStretch(8, 1);
}

void TForm1::build_layout() {
    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(Panel1);
    top->addWidget(Memo1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addWidget(LEntry);
    bottom->addWidget(Edit1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
}

void TForm1::follow_font() {
    // The prompt in bold and the entry in a fixed-pitch font, as designed,
    // at the desktop's size; the pane in the window's own font.
    LEntry->setFont(bold_font(font()));
    Edit1->setFont(fixed_pitch_font(font()));
    const int margin = LEntry->fontMetrics().horizontalAdvance(' ') / 2 + 1;
    LEntry->setContentsMargins(margin, 0, margin, 0);
    fit_prompt();
}

void TForm1::colour_break() {
    QPalette palette = BBreak->palette();
    // The panel shows the window's colour; its own palette may still be the
    // old one while the window's changes.
    palette.setColor(QPalette::ButtonText, readable_on(QColor(break_colour), this->palette().color(QPalette::Window)));
    BBreak->setPalette(palette);
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) follow_font();
    if (event->type() == QEvent::PaletteChange) colour_break();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1 && event->type() == QEvent::Resize) fit_prompt();
    return QWidget::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit_prompt();
}

void TForm1::fit_prompt() {
    const QFontMetrics metrics = LEntry->fontMetrics();
    const QMargins margins = LEntry->contentsMargins();
    const int frame = margins.left() + margins.right();
    const int least = Panel1->width();
    const int answer_room = std::max(width() / 4, Edit1->fontMetrics().averageCharWidth() * answer_characters);
    const int most = std::max(least, width() - answer_room);
    // The label draws its text in a box that may be a pixel wider than the
    // text's advance.
    const int needed = metrics.size(Qt::TextSingleLine, prompt_).width() + frame;
    const int wide = std::clamp(needed, least, most);
    const bool whole = needed <= most;
    LEntry->setText(whole ? prompt_ : metrics.elidedText(prompt_, Qt::ElideMiddle, wide - frame - 1));
    LEntry->setToolTip(whole ? QString() : prompt_);
    LEntry->setFixedWidth(wide);
}

void TForm1::start() {
    QStringList problems;
    for (const QString& problem : options_->read_problems()) {
        problems.append(QStringLiteral("A stored colour could not be read (%1); its default is used.").arg(problem));
    }
    const Settings& settings = options_->settings();
    apply_colours(settings.colours);
    const SessionSearchPaths paths = session_search_paths(settings.paths);
    // The per-user home folder is created and furnished on first start; a
    // folder of the user's choosing is furnished when it exists.
    const std::filesystem::path home = paths[0];
    if (std::error_code ec; settings.paths[0].isEmpty() || std::filesystem::is_directory(home, ec)) {
        if (std::string error; !session::install_home_files(home, session::shared_data_folder(), error)) {
            problems.append(QString::fromStdString(error));
        }
    }

    // The worker does not run yet: the session is this thread's alone.
    session_.init(paths);
    session_.display = settings.session.display;
    keeper_->restore(settings.session.autosave);
    worker_.start();
    drain_events();
    if (!problems.isEmpty()) report(problems.join('\n'));
}

void TForm1::console_submit() {
    if (run_state() == RunState::Running) return;
    const std::string line = Edit1->text().toStdString();
    QString accepted;
    {
        auto access = worker_.access();
        session::Session& session = access.session();
        if (!session.submit(line)) return;  // busy: the entry keeps its text
        resume_worker(access);
        accepted = QString::fromStdString(session.input_line);
    }
    Edit1->accept_line(accepted);
    update_buttons();
}

void TForm1::console_set_entry(const QString& text) { Edit1->setText(text); }

void TForm1::resume_worker(WorkerGate::SessionAccess& access) {
    apply_events();
    access.resume();
    drain_timer_.start(poll_interval);
}

void TForm1::drain_events() {
    const bool parked = apply_events();
    if (parked) drain_timer_.stop();
    update_buttons();
    if (parked) emit workerParked();
}

void TForm1::drain_slice() {
    const bool parked = apply_events(drain_budget);
    if (backlog_next_ < backlog_.size()) {
        drain_timer_.start(0);  // go on as soon as the event loop had its turn
    } else if (parked) {
        drain_timer_.stop();
    } else if (drain_timer_.interval() != poll_interval) {
        drain_timer_.start(poll_interval);
    }
    update_buttons();
    if (parked && !drain_timer_.isActive()) emit workerParked();
}

bool TForm1::apply_events(std::optional<std::chrono::steady_clock::duration> budget) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = budget ? Clock::now() + *budget : Clock::time_point::max();
    // The clock is read once per this many events: applying one costs far
    // less than reading the clock.
    constexpr std::size_t events_per_look = 64;
    bool parked = false;
    std::vector<std::string> lines;
    // Only the last line the debugger reached is shown; a reset drops the
    // lines reached before it.
    constexpr int no_line = -1;  // line markers count from 1
    int editor_line = no_line;
    for (std::size_t applied = 0;; ++applied) {
        if (backlog_next_ == backlog_.size()) {
            backlog_ = host_.take_events();
            backlog_next_ = 0;
            if (backlog_.empty()) break;
            // Only the newest redraw of a batch is worth drawing: a program
            // that redraws in a loop must not queue up work for the chart.
            newest_redraw_ = backlog_.size();
            for (std::size_t i = backlog_.size(); i-- > 0;) {
                if (std::holds_alternative<console_event::ChartRedraw>(backlog_[i])) {
                    newest_redraw_ = i;
                    break;
                }
            }
        }
        if (applied % events_per_look == events_per_look - 1 && Clock::now() >= deadline) break;
        const std::size_t index = backlog_next_++;
        std::visit(Overloaded{
                       [&](console_event::PaneLine& line) { lines.push_back(std::move(line.text)); },
                       [&](console_event::Clear&) {
                           lines.clear();  // the pane is emptied anyway
                           Memo1->clear_console();
                       },
                       [&](console_event::Prompt& prompt) { show_prompt(QString::fromStdString(prompt.text)); },
                       [&](console_event::Modes& modes) { show_modes(modes.angle_unit, modes.coord_mode); },
                       [&](console_event::EditorLine& line) { editor_line = line.line; },
                       [&](console_event::EditorReset&) {
                           editor_line = no_line;
                           emit editorReset();
                       },
                       [&](console_event::ChartRedraw& redraw) {
                           if (index == newest_redraw_) graph_->showSeries(redraw.table);
                       },
                       [&](console_event::ChartTitles& titles) {
                           graph_->setTitles(QString::fromStdString(titles.main),
                                             QString::fromStdString(titles.x_title),
                                             QString::fromStdString(titles.y_title));
                       },
                       [&](console_event::Suspended&) { parked = true; },
                   },
                   backlog_[index]);
    }
    Memo1->add_lines(lines);
    if (editor_line != no_line) emit editorShowLine(editor_line);
    return parked;
}

void TForm1::show_prompt(const QString& text) {
    prompt_ = text;
    fit_prompt();
}

void TForm1::show_modes(int angle_unit, int coord_mode) {
    // A value outside the tables leaves its label unchanged.
    if (angle_unit >= 0 && angle_unit < static_cast<int>(angle_texts.size())) {
        Lmode->setText(angle_texts[static_cast<std::size_t>(angle_unit)]);
    }
    if (coord_mode >= 0 && coord_mode < static_cast<int>(coord_texts.size())) {
        Lvmode->setText(coord_texts[static_cast<std::size_t>(coord_mode)]);
    }
}

void TForm1::update_buttons() {
    bool allowed = false;
    if (run_state() == RunState::Idle) {
        auto access = worker_.access();
        allowed = access.session().state_file_allowed();
    }
    BLoad1->setEnabled(allowed);
    Bsave2->setEnabled(allowed);
}

void TForm1::closeEvent(QCloseEvent* event) {
    keeper_->keep(options_->settings().session.autosave);
    QWidget::closeEvent(event);
}

// Both mode labels change the system variable table directly, in every run
// state, without the range check of an assignment.
void TForm1::LmodeClick() {
    {
        auto access = worker_.access();
        session::SystemVariable& angle = access.session().system_variable(0);
        angle.current = angle.current >= angle.largest ? 0 : static_cast<std::uint8_t>(angle.current + 1);
        access.session().refresh_modes();
    }
    drain_events();
}

void TForm1::LvmodeClick() {
    {
        auto access = worker_.access();
        session::SystemVariable& coord = access.session().system_variable(1);
        coord.current = coord.current == 0 ? 1 : 0;
        access.session().refresh_modes();
    }
    drain_events();
}

void TForm1::BBreakClick() {
    paste_->stop();
    worker_.request_break();
    auto access = worker_.access();  // a parked worker wakes to honour it
    resume_worker(access);
}

QString TForm1::memo_file_path(const session::Session& session) {
    return QDir(QString::fromStdString(session.home_folder())).filePath(memo_file::name);
}

// The pane goes with the state: Save writes it to memo.bin, Load restores it
// from there, each once the state file is done and before the session says
// so. A memo file that fails is reported in a message box.
void TForm1::BLoad1Click() {
    QString problem;
    {
        auto access = worker_.access();
        session::Session& session = access.session();
        const QString memo_path = memo_file_path(session);
        session.load_state([&] {
            QString error;
            const std::optional<QStringList> lines = memo_file::read(memo_path, error);
            if (!lines) {
                problem = QStringLiteral("%1 could not be read: %2").arg(memo_path, error);
                return false;
            }
            apply_events();
            Memo1->set_lines(*lines);
            return true;
        });
    }
    drain_events();
    if (!problem.isEmpty()) report(problem);
    Edit1->setFocus();
}

void TForm1::Bsave2Click() {
    QString problem;
    {
        auto access = worker_.access();
        session::Session& session = access.session();
        const QString memo_path = memo_file_path(session);
        session.save_state([&] {
            apply_events();  // the pane as it stands goes into memo.bin
            QString error;
            if (memo_file::write(memo_path, Memo1->lines(), error)) return true;
            problem = QStringLiteral("%1 could not be written: %2").arg(memo_path, error);
            return false;
        });
    }
    drain_events();
    if (!problem.isEmpty()) report(problem);
    Edit1->setFocus();
}

void TForm1::BAyudaClick() {
    QString path;
    {
        auto access = worker_.access();
        path = QDir(QString::fromStdString(access.session().home_folder())).filePath(HelpWindow::file_name);
    }
    if (!help_->show_file(path)) report(QStringLiteral("The help file %1 cannot be read.").arg(path));
}

void TForm1::Button1Click() {
    TAboutBox about(this);
    about.exec();
    Edit1->setFocus();
    Edit1->setCursorPosition(0);
}

void TForm1::SpeedButton1Click() { bring_to_front(wizard_); }

void TForm1::apply_settings(const Settings& settings) {
    apply_colours(settings.colours);
    auto access = worker_.access();
    access.session().search_path = session_search_paths(settings.paths);
    access.session().display = settings.session.display;
}

void TForm1::apply_colours(const ConsoleColours& colours) {
    set_colours(Memo1, QPalette::Base, to_qcolor(colours.memo_background), QPalette::Text,
                to_qcolor(colours.memo_text));
    set_colours(Edit1, QPalette::Base, to_qcolor(colours.edit_background), QPalette::Text,
                to_qcolor(colours.edit_text));
}

void TForm1::report(const QString& text) { warn(this, text); }

}  // namespace ostrac::ui
