// Every window as a new user meets it, at each font size from 8 to 16
// points, in the light and in the dark palette (and, run a second time by
// the build, at device pixel ratio 2). Each visible label, button and tab
// holds its whole text, not shortened, inside its contents rectangle, lies
// whole inside its window, overlaps no other control and is readable on its
// background; a label beside another on the same line leaves at least a
// space between their texts.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionToolButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "chart/tfgraph.h"
#include "console/help_window.h"
#include "console/tabout_box.h"
#include "console_test_support.h"
#include "editor/tfeditor.h"
#include "options/toptions.h"
#include "ui_test_support.h"
#include "wizard/tfwizard.h"

using namespace ostrac::ui;
using ostrac::ui::test::contrast;

namespace {

// The part of a control its text is drawn in, in the control's coordinates,
// as the style lays it out.
QRect text_room(const QWidget* control) {
    const QStyle* style = control->style();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int margin = label->margin();
        return label->contentsRect().adjusted(margin, margin, -margin, -margin);
    }
    if (const auto* tool = qobject_cast<const QToolButton*>(control)) {
        QStyleOptionToolButton option;
        option.initFrom(tool);
        option.subControls = QStyle::SC_ToolButton;
        option.toolButtonStyle = tool->toolButtonStyle();
        option.text = tool->text();
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, tool);
        return style->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, tool)
            .adjusted(frame, frame, -frame, -frame);
    }
    QStyleOptionButton option;
    option.initFrom(control);
    if (const auto* push = qobject_cast<const QPushButton*>(control)) {
        if (push->autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    }
    const bool radio = qobject_cast<const QRadioButton*>(control) != nullptr;
    return style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option,
                                 control);
}

QString shown_text(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    return static_cast<const QAbstractButton*>(control)->text();
}

// The colour a control's own background shows: the nearest ancestor (or the
// control) that fills its background.
QColor background_of(const QWidget* control) {
    for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
    }
    return {};
}

// A control the walk looks at: a label or button of ours (named) with text.
bool has_text(const QWidget* control) {
    if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) return false;
    if (qobject_cast<const QLabel*>(control) == nullptr && qobject_cast<const QAbstractButton*>(control) == nullptr) {
        return false;
    }
    return control->isVisible() && !shown_text(control).isEmpty();
}

// Where a label's text begins and ends horizontally, in its parent.
std::pair<int, int> text_span(const QLabel* label) {
    const QRect room = text_room(label).translated(label->pos());
    const int width = label->fontMetrics().horizontalAdvance(label->text());
    if (label->alignment() & Qt::AlignRight) return {room.right() + 1 - width, room.right() + 1};
    if (label->alignment() & Qt::AlignHCenter) return {room.center().x() - width / 2, room.center().x() + width / 2};
    return {room.left(), room.left() + width};
}

void check_text(const QWidget* control, QStringList& faults) {
    const QString text = shown_text(control);
    const QString name = control->objectName();
    const QRect room = text_room(control);
    if (text.contains(QChar(0x2026))) faults.append(QStringLiteral("%1 \"%2\" is shortened").arg(name, text));
    const auto* label = qobject_cast<const QLabel*>(control);
    if (label != nullptr && (label->wordWrap() || label->textFormat() == Qt::RichText)) {
        if (label->heightForWidth(label->width()) > label->height()) {
            faults.append(QStringLiteral("%1: wrapped text needs %2 px, has %3").arg(name).arg(
                label->heightForWidth(label->width())).arg(label->height()));
        }
    } else {
        const QSize needed = control->fontMetrics().size(Qt::TextShowMnemonic, text);
        if (needed.width() > room.width() || needed.height() > room.height()) {
            faults.append(QStringLiteral("%1 \"%2\": text %3x%4 in %5x%6")
                              .arg(name, text)
                              .arg(needed.width()).arg(needed.height())
                              .arg(room.width()).arg(room.height()));
        }
    }
    if (control->visibleRegion().boundingRect() != control->rect()) {
        faults.append(QStringLiteral("%1 is cut by its window").arg(name));
    }
    if (control->isEnabled() && contrast(control->palette().color(control->foregroundRole()),
                                         qobject_cast<const QPushButton*>(control) != nullptr
                                             ? control->palette().color(QPalette::Button)
                                             : background_of(control)) < 4.5) {
        faults.append(QStringLiteral("%1 is hard to read").arg(name));
    }
}

void check_tabs(const QTabBar* tabs, QStringList& faults) {
    const int space = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab = tabs->tabRect(i);
        const int needed = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) + space;
        if (tab.width() < needed || !tabs->rect().contains(tab)) {
            faults.append(QStringLiteral("tab \"%1\": %2 px of %3").arg(tabs->tabText(i)).arg(tab.width()).arg(needed));
        }
    }
}

// Named controls of one parent that overlap, and labels on one line whose
// texts come closer than a space.
void check_siblings(const QWidget* parent, QStringList& faults) {
    QList<const QWidget*> shown;
    for (const QObject* child : parent->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (widget == nullptr || widget->isWindow() || !widget->isVisible()) continue;
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
        shown.append(widget);
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            const QWidget* a = shown[i];
            const QWidget* b = shown[j];
            if (a->geometry().intersects(b->geometry())) {
                faults.append(QStringLiteral("%1 overlaps %2").arg(a->objectName(), b->objectName()));
            }
            const auto* left = qobject_cast<const QLabel*>(a->x() <= b->x() ? a : b);
            const auto* right = qobject_cast<const QLabel*>(a->x() <= b->x() ? b : a);
            if (left == nullptr || right == nullptr || left->text().isEmpty() || right->text().isEmpty()) continue;
            if (left->geometry().bottom() < right->y() || right->geometry().bottom() < left->y()) continue;
            if (text_span(right).first - text_span(left).second < left->fontMetrics().horizontalAdvance(' ')) {
                faults.append(QStringLiteral("no space between %1 and %2").arg(left->objectName(), right->objectName()));
            }
        }
    }
}

// Lets the window's layouts take the new font, and the window grow to
// their new minimum; false when it does not.
bool settle(QWidget* window) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    const bool grown = QTest::qWaitFor(
        [window] { return window->size() == window->size().expandedTo(window->minimumSize()); }, 1000);
    QTest::qWait(0);
    return grown;
}

// Walks a window; returns the number of texts it checked.
int walk(const QWidget* window, QStringList& faults) {
    int texts = 0;
    QList<const QWidget*> widgets{window};
    for (const QWidget* w : window->findChildren<const QWidget*>()) {
        if (w->window() == window) widgets.append(w);
    }
    for (const QWidget* widget : widgets) {
        if (!widget->isVisible()) continue;
        check_siblings(widget, faults);
        if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            check_tabs(tabs, faults);
            texts += tabs->count();
        } else if (widget != window && has_text(widget)) {
            check_text(widget, faults);
            ++texts;
        }
    }
    return texts;
}

}  // namespace

class WindowTextFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void every_text_fits_its_control_data();
    void every_text_fits_its_control();

private:
    struct View {
        const char* name;
        QWidget* window;
        std::function<void()> prepare;
    };

    std::unique_ptr<test::Console> console_;
    std::unique_ptr<TAboutBox> about_;
    std::unique_ptr<TFEditor> text_editor_;
    std::vector<View> views_;
    QFont default_font_;
};

void WindowTextFitTest::initTestCase() {
    default_font_ = QApplication::font();
    console_ = std::make_unique<test::Console>();
    TForm1& form = *console_->form;
    for (const char* button : {"B_Edit", "B_graph", "SpeedButton1", "BOptions"}) {
        QTest::mouseClick(form.findChild<QAbstractButton*>(button), Qt::LeftButton);
    }
    // The editor after a debugged program has ended.
    TFEditor* editor = form.editor_window();
    editor->findChild<QPlainTextEdit*>("Medit")->setPlainText("a = 1");
    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(editor->findChild<QAbstractButton*>("BStepInto"), Qt::LeftButton);
        QVERIFY(console_->wait_idle());
    }
    // The console waits for an answer under the longest prompt a number
    // gives: a ten-letter name and a value of four digits and a long
    // exponent.
    console_->command("abcdefghij = -1.2345e-100");
    console_->command("input abcdefghij");
    QCOMPARE(console_->prompt->text(), QString("abcdefghij[-1.234e-100]?"));

    about_ = std::make_unique<TAboutBox>(&form);
    about_->show();
    // A second editor shows its text, with the caret's line.
    text_editor_ = std::make_unique<TFEditor>(form);
    text_editor_->show();
    HelpWindow* help = form.help_window();
    help->show();
    TFWizard* wizard = form.wizard_window();
    auto* tree = wizard->findChild<QTreeWidget*>("TreeFn");
    const auto choose = [tree](const QString& caption) {
        tree->setCurrentItem(tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).front());
    };
    auto* options = form.findChild<TOptions*>("TOptions");
    auto* pages = options->findChild<QTabWidget*>("PageControl1");
    views_ = {
        {"console", &form, {}},
        {"editor's text", text_editor_.get(), {}},
        {"editor after the end", editor, {}},
        {"graph", form.graph_window(), {}},
        {"wizard with five parameters", wizard, [=] { choose("Integration"); }},
        {"wizard's converter", wizard, [=] { choose("Unit Conversion"); }},
        {"options' paths", options, [=] { pages->setCurrentIndex(0); }},
        {"options' colours", options, [=] { pages->setCurrentIndex(1); }},
        {"options' display", options, [=] { pages->setCurrentIndex(2); }},
        {"options' session", options, [=] { pages->setCurrentIndex(3); }},
        {"about box", about_.get(), {}},
        {"help", help, {}},
    };
    for (const View& view : views_) QVERIFY2(QTest::qWaitForWindowExposed(view.window), view.name);
}

void WindowTextFitTest::cleanupTestCase() {
    QApplication::setFont(default_font_);
    QApplication::setPalette(test::light_palette());
    about_.reset();
    text_editor_.reset();
    console_.reset();
}

void WindowTextFitTest::every_text_fits_its_control_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<QPalette>("palette");
    for (int points = 8; points <= 16; ++points) {
        QTest::addRow("%d pt, light", points) << points << test::light_palette();
        QTest::addRow("%d pt, dark", points) << points << test::dark_palette();
    }
}

void WindowTextFitTest::every_text_fits_its_control() {
    QFETCH(int, points);
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    QFont font = default_font_;
    font.setPointSize(points);
    QApplication::setFont(font);
    QStringList faults;
    int texts = 0;
    QStringList sizes;
    for (const View& view : views_) {
        if (view.prepare) view.prepare();
        QVERIFY2(settle(view.window), view.name);
        QStringList found;
        texts += walk(view.window, found);
        for (const QString& fault : found) faults.append(QStringLiteral("%1: %2").arg(view.name, fault));
        sizes.append(QStringLiteral("%1 %2x%3").arg(view.name).arg(view.window->width()).arg(view.window->height()));
    }
    qInfo("%d texts at %d pt, ratio %g: %s", texts, points, qApp->devicePixelRatio(), qPrintable(sizes.join(", ")));
    for (const QString& fault : faults) qWarning("%s", qPrintable(fault));
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
}

QTEST_MAIN(WindowTextFitTest)
#include "window_text_fit_test.moc"
