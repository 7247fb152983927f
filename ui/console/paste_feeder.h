// Several lines pasted into the entry field run one after the other, each
// as if typed and entered. A text is split at its line breaks as soon as it
// lands in the field (by keys, menu, middle button or drop); the text after
// the last break, when there is any, is the last line. One line without a
// break stays in the field as any typing does.
//
// The lines are fed from the event loop, one per turn: the next one goes in
// when the calculator is idle (a command has ended, or INPUT waits for its
// answer, which the line then is), so the window answers the user between
// any two lines however many there are. While a program runs the feeder
// looks again at once for a moment, since most commands end within
// microseconds, and then at a calm pace. stop() drops the lines not fed yet
// (the Break button).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace ostrac::ui {

class EntryField;

class PasteFeeder : public QObject {
    Q_OBJECT

public:
    // `idle` tells whether a line would now be taken; `submit` enters the
    // field's text as the Enter key does.
    PasteFeeder(EntryField& entry, std::function<bool()> idle, std::function<void()> submit);

    void stop();
    qsizetype pending() const { return lines_.size() - next_; }

private:
    void take_text(const QString& text);
    void feed();

    EntryField& entry_;
    std::function<bool()> idle_;
    std::function<void()> submit_;
    QStringList lines_;
    qsizetype next_ = 0;
    QTimer timer_;
    QElapsedTimer since_fed_;
};

}  // namespace ostrac::ui
