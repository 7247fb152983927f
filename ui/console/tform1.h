// The console window: the output pane (Memo1), the entry field (Edit1), the
// mode labels and the buttons of the left panel. It owns the session and the
// worker thread (TMyThread) that steps it.
//
// Threading: the engine reaches the window only through ConsoleHost's locked
// event queue, which this window drains on its own thread every 10 ms from
// the moment it resumes the worker until the worker has parked itself again;
// an idle calculator has no timer running. Each tick works for a few
// milliseconds at most: a backlog larger than that (a flood of output on a
// busy machine) is applied in slices, with the event loop running between
// them, so the window keeps answering the user. The window touches the session
// only inside a SessionAccess, which holds the worker at rest (suspended, or
// between two steps) for its duration; SessionAccesses do not nest. The
// atomic run state is the one thing the window reads without one.
#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "options/settings.h"
#include "session/session.h"
#include "worker/console_host.h"
#include "worker/session_link.h"
#include "worker/tmythread.h"
#include "worker/worker_gate.h"

class QAbstractButton;
class QLabel;

namespace ostrac::ui {

class ClickableLabel;
class CompactButton;
class EntryField;
class HelpWindow;
class TFEditor;
class TFGraph;
class TFWizard;
class OutputPane;
class PasteFeeder;
class SessionKeeper;
class TOptions;

class TForm1 : public QWidget, public SessionLink {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Brings the session up with the stored search paths, installs the help
    // file into the home folder when it is missing, starts the worker and
    // reports any start-up problem in a message box.
    void start();

    // The Enter key: hands the entry text to the session, unless a program
    // runs (then the entry keeps its text).
    void console_submit();
    // Replaces the text of the entry field (the function wizard's ">>").
    void console_set_entry(const QString& text);

    session::RunState run_state() const { return session_.run_state.load(); }
    // Exclusive use of the session (see the class comment).
    WorkerGate::SessionAccess session_access() override { return worker_.access(); }
    // Resumes a parked worker and polls the queue until it parks again.
    // Events queued before are applied first, so that an earlier Suspended
    // event cannot end the polling too early.
    void resume_worker(WorkerGate::SessionAccess& access) override;
    // Applies everything the engine has queued so far, in one go.
    void drain_events();
    // Whether the engine's output is being polled (the worker was resumed
    // and has not parked since, or queued events are still to be applied).
    bool polling() const { return drain_timer_.isActive(); }

    HelpWindow* help_window() const { return help_; }
    TFGraph* graph_window() const { return graph_; }
    TFWizard* wizard_window() const { return wizard_; }
    TFEditor* editor_window() const { return editor_; }

signals:
    // Debugger requests for the program editor. They may be emitted while the
    // console holds the session, so receivers must not take a SessionAccess.
    void editorShowLine(int line);
    void editorReset();
    // The worker has parked itself and its output is shown. Emitted while
    // nothing holds the session.
    void workerParked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every quit closes the console: the session and the history are kept.
    void closeEvent(QCloseEvent* event) override;

private:
    void build_panel();
    // The pane and the panel side by side, the prompt and the entry field
    // under them.
    void build_layout();
    // Fonts derived from the window's (the desktop's) font.
    void follow_font();
    // Break keeps its blue caption, lightened on a dark panel.
    void colour_break();
    // The prompt label is as wide as the panel, and wider for a longer
    // prompt, as long as the entry field keeps a quarter of the window and
    // at least room for a short answer; beyond that the prompt is elided in
    // the middle, whole in its tooltip.
    void fit_prompt();

    void LmodeClick();
    void LvmodeClick();
    void BBreakClick();
    static QString memo_file_path(const session::Session& session);
    void BLoad1Click();
    void Bsave2Click();
    void BAyudaClick();
    void Button1Click();
    void SpeedButton1Click();

    // One tick of the drain timer: a slice of the queued events.
    void drain_slice();
    // Applies queued events, oldest first, until none is left or, when a
    // budget is given, that much time has passed; true when the worker
    // parked meanwhile.
    bool apply_events(std::optional<std::chrono::steady_clock::duration> budget = std::nullopt);
    void show_prompt(const QString& text);
    void show_modes(int angle_unit, int coord_mode);
    void apply_settings(const Settings& settings);
    void apply_colours(const ConsoleColours& colours);
    // Load and Save are offered only while no program runs, is paused or
    // waits for an INPUT answer.
    void update_buttons();
    void report(const QString& text);

    WorkerGate gate_;
    ConsoleHost host_;
    session::Session session_;
    TMyThread worker_;  // declared after the session: stopped before it goes
    QTimer drain_timer_;
    // Events taken from the host and not applied yet, from `backlog_next_`
    // on; `newest_redraw_` is the index of the last chart redraw among them.
    std::vector<ConsoleEvent> backlog_;
    std::size_t backlog_next_ = 0;
    std::size_t newest_redraw_ = 0;

    QWidget* Panel1 = nullptr;
    ClickableLabel* Lmode = nullptr;
    ClickableLabel* Lvmode = nullptr;
    CompactButton* BBreak = nullptr;
    CompactButton* BLoad1 = nullptr;
    CompactButton* Bsave2 = nullptr;
    QLabel* LEntry = nullptr;
    QString prompt_;  // the prompt as the engine set it
    OutputPane* Memo1 = nullptr;
    EntryField* Edit1 = nullptr;
    PasteFeeder* paste_ = nullptr;
    std::unique_ptr<SessionKeeper> keeper_;

    TOptions* options_ = nullptr;
    HelpWindow* help_ = nullptr;
    TFGraph* graph_ = nullptr;
    TFWizard* wizard_ = nullptr;
    TFEditor* editor_ = nullptr;
};

}  // namespace ostrac::ui
