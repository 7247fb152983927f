#include "console/tform1.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <type_traits>
#include <variant>

#include "chart/tfgraph.h"
#include "common/clickable_label.h"
#include "common/quit_signals.h"
#include "common/widget_making.h"
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

// The prompt label's right edge stays where it was designed; longer INPUT
// prompts grow to the left.
constexpr int prompt_right = 73;
constexpr int prompt_min_width = 16;

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

template <class Button>
Button* make_button(const QString& text, const char* name, const QRect& geometry, QWidget* parent) {
    auto* button = new Button(parent);
    button->setText(text);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    if constexpr (std::is_same_v<Button, QToolButton>) button->setAutoRaise(true);
    return button;
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), host_(gate_), session_(host_), worker_(session_, gate_) {
    setObjectName("Form1");
    setWindowTitle("Ostrac Calculator");
    setFont(pixel_font("Sans Serif", QFont::SansSerif, 11));
    setAutoFillBackground(true);

    build_panel();

    Memo1 = new OutputPane(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry(77, 0, 375, 161);
    Memo1->setFont(pixel_font("Sans Serif", QFont::SansSerif, 13));
    set_colours(Memo1, QPalette::Base, pane_colour, QPalette::Text, Qt::white);
    connect(Memo1, &OutputPane::keyPressed, this, [this] { Edit1->setFocus(); });

    Edit1 = new EntryField(this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(77, 160, 375, 23);
    Edit1->setFont(pixel_font("Monospace", QFont::TypeWriter, 12));
    set_colours(Edit1, QPalette::Base, pane_colour, QPalette::Text, Qt::white);
    connect(Edit1, &EntryField::entered, this, &TForm1::console_submit);
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

    connect(&drain_timer_, &QTimer::timeout, this, &TForm1::drain_slice);

    // Client area of the designed 464 x 241 window.
    resize(455, 184);
    update_buttons();
}

TForm1::~TForm1() = default;

void TForm1::build_panel() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(-2, 0, 80, 185);
    Panel1->setAutoFillBackground(true);

    make_label("angle:", "Label1", {9, 6}, Panel1);
    make_label("coord:", "Label2", {8, 24}, Panel1);
    make_label("State", "Label3", {5, 87}, Panel1);

    Lmode = new ClickableLabel(angle_texts[0], Panel1);
    Lmode->setObjectName("Lmode");
    Lmode->move(41, 6);
    Lvmode = new ClickableLabel(coord_texts[0], Panel1);
    Lvmode->setObjectName("Lvmode");
    Lvmode->move(41, 24);
    for (ClickableLabel* label : {Lmode, Lvmode}) {
        // Drawn like links, which they act as.
        label->setForegroundRole(QPalette::Link);
        label->setCursor(Qt::PointingHandCursor);
        label->resize(36, label->sizeHint().height());
    }
    connect(Lmode, &ClickableLabel::clicked, this, &TForm1::LmodeClick);
    connect(Lvmode, &ClickableLabel::clicked, this, &TForm1::LvmodeClick);

    connect(make_button<QToolButton>("Editor", "B_Edit", {2, 41, 38, 22}, Panel1), &QToolButton::clicked, this,
            [this] {
                editor_->show();
                editor_->raise();
            });
    connect(make_button<QToolButton>("Graph", "B_graph", {40, 41, 39, 22}, Panel1), &QToolButton::clicked, this,
            [this] {
                graph_->show();
                graph_->raise();
            });
    connect(make_button<QToolButton>("Fx ...", "SpeedButton1", {29, 152, 23, 17}, Panel1), &QToolButton::clicked,
            this, &TForm1::SpeedButton1Click);

    auto* break_button = make_button<QToolButton>("Break", "BBreak", {2, 64, 38, 22}, Panel1);
    connect(break_button, &QToolButton::clicked, this, &TForm1::BBreakClick);

    BLoad1 = make_button<QPushButton>("Load", "BLoad1", {4, 101, 36, 22}, Panel1);
    connect(BLoad1, &QPushButton::clicked, this, &TForm1::BLoad1Click);
    Bsave2 = make_button<QPushButton>("Save", "Bsave2", {39, 101, 40, 22}, Panel1);
    connect(Bsave2, &QPushButton::clicked, this, &TForm1::Bsave2Click);

    connect(make_button<QToolButton>("Option", "BOptions", {4, 126, 37, 24}, Panel1), &QToolButton::clicked, this,
            [this] {
                options_->show();
                options_->raise();
            });
    connect(make_button<QToolButton>("Help", "BAyuda", {41, 126, 37, 24}, Panel1), &QToolButton::clicked, this,
            &TForm1::BAyudaClick);
    connect(make_button<QPushButton>("?", "Button1", {4, 152, 21, 17}, Panel1), &QPushButton::clicked, this,
            &TForm1::Button1Click);

    LEntry = new QLabel(">>", Panel1);
    LEntry->setObjectName("LEntry");
    LEntry->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LEntry->setFont(pixel_font("Sans Serif", QFont::SansSerif, 13, true));
    LEntry->setGeometry(57, 160, 16, 16);
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
    if (apply_events()) drain_timer_.stop();
    update_buttons();
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
    LEntry->setText(text);
    const int width = std::max(prompt_min_width, LEntry->fontMetrics().horizontalAdvance(text) + 2);
    LEntry->setGeometry(prompt_right - width, LEntry->y(), width, LEntry->height());
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

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent* event) {
    keeper_->keep(options_->settings().session.autosave);
    QWidget::closeEvent(event);
}

void TForm1::FormResize() {
    const int ch = height();
    const int cw = width();
    Memo1->setGeometry(Panel1->width() - 2, 0, cw - Panel1->width(), ch - Edit1->height());
    Edit1->setGeometry(Edit1->x(), Memo1->height(), Memo1->width() + 1, Edit1->height());
    Panel1->resize(Panel1->width(), ch);
    LEntry->move(LEntry->x(), ch - LEntry->height() - 5);
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

void TForm1::SpeedButton1Click() {
    wizard_->show();
    wizard_->raise();
}

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

void TForm1::report(const QString& text) { QMessageBox::warning(this, windowTitle(), text); }

}  // namespace ostrac::ui
