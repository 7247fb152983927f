#include "console/paste_feeder.h"

#include <QRegularExpression>
#include <limits>
#include <utility>

#include "console/entry_field.h"

namespace ostrac::ui {

namespace {

// How long after a line went in the feeder keeps looking at every turn of
// the event loop, and how often it looks after that.
constexpr qint64 eager_ms = 2;
constexpr int calm_interval_ms = 5;

}  // namespace

PasteFeeder::PasteFeeder(EntryField& entry, std::function<bool()> idle, std::function<void()> submit)
    : QObject(&entry), entry_(entry), idle_(std::move(idle)), submit_(std::move(submit)) {
    // A paste longer than the field's usual limit of 32767 characters
    // would be cut there, losing lines.
    entry_.setMaxLength(std::numeric_limits<int>::max());
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PasteFeeder::feed);
    // Only the user's edits: the feeder's own setText() is not one.
    connect(&entry_, &QLineEdit::textEdited, this, &PasteFeeder::take_text);
}

void PasteFeeder::stop() {
    timer_.stop();
    lines_.clear();
    next_ = 0;
}

void PasteFeeder::take_text(const QString& text) {
    static const QRegularExpression line_break(QStringLiteral("\r\n|\r|\n"));
    if (!text.contains(line_break)) return;
    QStringList lines = text.split(line_break);
    if (lines.back().isEmpty()) lines.removeLast();  // the break that ends the last line
    entry_.clear();
    lines_.remove(0, next_);
    next_ = 0;
    lines_.append(lines);
    if (!timer_.isActive()) timer_.start(0);
}

void PasteFeeder::feed() {
    if (next_ == lines_.size()) {
        stop();
        return;
    }
    if (!idle_()) {
        timer_.start(since_fed_.isValid() && since_fed_.elapsed() < eager_ms ? 0 : calm_interval_ms);
        return;
    }
    // Whatever the user typed meanwhile waits in the field.
    const QString typed = entry_.text();
    entry_.setText(lines_[next_++]);
    submit_();
    if (entry_.text().isEmpty()) entry_.setText(typed);
    since_fed_.start();
    timer_.start(0);
}

}  // namespace ostrac::ui
