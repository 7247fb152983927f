#include "console/entry_field.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QToolTip>
#include <string>
#include <vector>

#include "help/function_help.h"
#include "help/function_names.h"

namespace ostrac::ui {

namespace {

QStringList to_qt(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list.append(QString::fromStdString(name));
    return list;
}

// The engine reads the line as UTF-8: positions in it are byte offsets.
std::size_t byte_offset(const QString& text, int position) { return text.left(position).toStdString().size(); }

int text_position(const std::string& line, std::size_t offset) {
    return static_cast<int>(QString::fromStdString(line.substr(0, offset)).size());
}

}  // namespace

EntryField::EntryField(QWidget* parent)
    : QLineEdit(parent), completer_(new QCompleter(to_qt(help::function_names()), this)) {
    completer_->setWidget(this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setMaxVisibleItems(8);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &EntryField::insert_completion);
    connect(this, &QLineEdit::textChanged, this, &EntryField::show_syntax);
    connect(this, &QLineEdit::cursorPositionChanged, this, &EntryField::show_syntax);
}

void EntryField::accept_line(const QString& line) {
    clear();
    history_.add(line);
}

void EntryField::show_slot(const QString& text) {
    const int caret = cursorPosition();
    setText(text);
    setCursorPosition(caret);
}

QString EntryField::function_at_caret() const {
    const std::string line = text().toStdString();
    return QString::fromStdString(help::function_at(line, byte_offset(text(), cursorPosition())));
}

bool EntryField::event(QEvent* event) {
    // Tab completes here instead of moving the focus on.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    // While the name list is open, these keys choose from it or close it.
    if (completer_->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            event->ignore();
            return;
        default:
            break;
        }
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit entered();
        return;
    case Qt::Key_Up:
        show_slot(history_.up());
        return;
    case Qt::Key_Down:
        show_slot(history_.down());
        return;
    case Qt::Key_Tab:
        complete();
        return;
    case Qt::Key_F1:
        emit helpRequested(function_at_caret());
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void EntryField::complete() {
    const std::string line = text().toStdString();
    const std::size_t caret = byte_offset(text(), cursorPosition());
    const std::size_t start = help::word_start(line, caret);
    const std::string prefix = line.substr(start, caret - start);
    if (prefix.empty()) return;
    const std::vector<std::string> names = help::names_starting_with(prefix);
    if (names.empty()) return;
    if (names.size() == 1) {
        insert_completion(QString::fromStdString(names.front()));
        return;
    }
    completer_->setCompletionPrefix(QString::fromStdString(prefix));
    QAbstractItemView* popup = completer_->popup();
    QRect place = cursorRect();
    place.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width() + 8);
    completer_->complete(place);
    popup->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

// The name replaces the word before the caret.
void EntryField::insert_completion(const QString& name) {
    const std::string line = text().toStdString();
    const int caret = cursorPosition();
    const int start = text_position(line, help::word_start(line, byte_offset(text(), caret)));
    // Through the selection, so that Ctrl+Z can take the completion back.
    setSelection(start, caret - start);
    insert(name);
}

void EntryField::show_syntax() {
    QStringList syntaxes;
    for (const help::HelpEntry* entry : help::find_help_by_name(function_at_caret().toStdString())) {
        syntaxes.append(QString::fromUtf8(entry->syntax.data(), static_cast<qsizetype>(entry->syntax.size())));
    }
    const QString tip = syntaxes.join('\n');
    if (tip == toolTip()) return;
    setToolTip(tip);
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else if (hasFocus()) {
        QToolTip::showText(mapToGlobal(cursorRect().bottomLeft()), tip, this);
    }
}

}  // namespace ostrac::ui
