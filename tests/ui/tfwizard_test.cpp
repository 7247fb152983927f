// The function wizard, alone and beside a running console: choosing
// functions in TreeFn, filling the parameter fields and the converter, and
// what ">>" and "Calc" leave in the console's entry field and pane. Also the
// entry field's name completion, syntax tooltip and F1.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "console/entry_field.h"
#include "console/output_pane.h"
#include "console/tform1.h"
#include "console_test_support.h"
#include "frontend/frontend.h"
#include "help/function_help.h"
#include "numeric/unit_table.h"
#include "ui_test_support.h"
#include "wizard/tfwizard.h"

using ostrac::session::RunState;
using namespace ostrac::ui;
namespace help = ostrac::help;

namespace {

// A started console window over temporary folders, with its wizard.
struct Console : test::Console {
    TFWizard* wizard = form->wizard_window();

    // Compiles a line as a command would be, without running it; the pane
    // lines the compilation printed, empty when it compiled.
    QStringList compile(const QString& line) {
        const qsizetype before = memo->lines().size();
        {
            auto access = form->session_access();
            ostrac::session::Session& session = access.session();
            session.input_line = line.toStdString();
            try {
                ostrac::frontend::compile_block(session, ostrac::session::slot::PROC0);
            } catch (const ostrac::session::FatalError&) {
                session.reset();
            }
        }
        form->drain_events();
        return memo->lines().mid(before);
    }

};

template <class Widget>
Widget* control(const QWidget* window, const QString& name) {
    auto* widget = window->findChild<Widget*>(name);
    if (widget == nullptr) qFatal("no control %s", qPrintable(name));
    return widget;
}

QLineEdit* field(const QWidget* wizard, int k) { return control<QLineEdit>(wizard, QString("Ep%1").arg(k)); }
QLabel* caption(const QWidget* wizard, int k) { return control<QLabel>(wizard, QString("Lp%1").arg(k)); }

QTreeWidgetItem* node_with_id(const QWidget* wizard, int id) {
    auto* tree = control<QTreeWidget>(wizard, "TreeFn");
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == id) return *it;
    }
    qFatal("no tree node with id %d", id);
}

QTreeWidgetItem* node_named(const QWidget* wizard, const QString& caption) {
    const QList<QTreeWidgetItem*> found =
        control<QTreeWidget>(wizard, "TreeFn")->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) qFatal("no tree node %s", qPrintable(caption));
    return found.front();
}

void choose(const QWidget* wizard, QTreeWidgetItem* node) { control<QTreeWidget>(wizard, "TreeFn")->setCurrentItem(node); }

void fill(const QWidget* wizard, const QStringList& texts) {
    for (int k = 1; k <= texts.size(); ++k) field(wizard, k)->setText(texts[k - 1]);
}

void click(const QWidget* wizard, const char* button) {
    QTest::mouseClick(control<QToolButton>(wizard, button), Qt::LeftButton);
}

void choose_units(const QWidget* wizard, const QString& type, const QString& source, const QString& target) {
    auto* types = control<QComboBox>(wizard, "Cb_utype");
    types->setCurrentIndex(types->findText(type));
    auto* sources = control<QComboBox>(wizard, "cb_source");
    sources->setCurrentIndex(sources->findText(source));
    auto* targets = control<QComboBox>(wizard, "cb_target");
    targets->setCurrentIndex(targets->findText(target));
}

QStringList items(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts.append(list->itemText(i));
    return texts;
}

void on_next_modal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) action(modal);
    });
}

bool is_error(const QString& line) {
    static const QRegularExpression reported(" line=-?\\d+$");
    return reported.match(line).hasMatch();
}

// Plausible arguments for every help entry, by id; the converter entry is
// filled through its pickers.
const std::map<int, QStringList> plausible_arguments = {
    {1, {"x^2", "x", "0", "2"}},  {2, {"2", "x^3", "x", "0", "2"}}, {3, {"Squares", "x", "y"}},
    {4, {"1", "2", "bars"}},      {5, {}},                           {6, {"0"}},
    {7, {"1", "[1,2;3,4;5,6]", "1", "2"}}, {8, {"1", "[1,2,3]", "[4,5,6]"}}, {9, {"1", "[1,4,9]"}},
    {10, {"0.5"}}, {11, {"0.5"}}, {12, {"0.5"}}, {13, {"0.5"}}, {14, {"0.5"}}, {15, {"0.5"}},
    {16, {"1"}}, {17, {"1"}}, {18, {"1"}}, {19, {"1"}}, {20, {"2"}}, {21, {"0.5"}},
    {22, {"1"}}, {23, {"2"}}, {24, {"100"}},
    {25, {"5"}}, {26, {"0", "1"}}, {27, {"1", "2"}}, {28, {"1", "1"}}, {29, {"1", "1"}},
    {30, {"3+4i"}}, {31, {"3+4i"}}, {32, {"1i"}}, {33, {"3+4i"}}, {34, {"-4"}},
    {35, {"5"}}, {36, {"5", "2"}}, {37, {"5", "2"}},
    {38, {"[1,2;3,4]"}}, {39, {"[1,2;3,4]"}}, {40, {"[1,2;3,4]"}}, {41, {"[1,2;3,4]"}}, {42, {"[1,2;3,4]"}},
    {43, {"[3,4]"}},
    {44, {"x^2-2", "x", "1"}}, {45, {"x^2-2", "x", "0", "2"}}, {46, {"x^2", "x", "0", "1", "2000"}},
    {47, {"[1,-3,2]"}}, {48, {"1234.5678", "-2"}}, {49, {"2.7"}}, {50, {"-2.25"}},
    {51, {"[2,4,4,5]"}}, {52, {"[2,4,4,5]"}}, {53, {"[1,2,3]", "[4,5,6]"}}, {54, {"[2,4,4,5]"}},
    {55, {"[2,4,4,5]"}}, {56, {"[1,2,3]", "[2,4,7]"}}, {57, {"[1,2,3]", "[2,4,7]"}},
    {58, {"1.96"}}, {60, {"3", "7.81"}}, {61, {"10", "2.23"}}, {62, {"3", "10", "3.71"}},
    {63, {"0.05"}}, {64, {"3", "0.05"}}, {65, {"10", "0.025"}}, {66, {"3", "10", "0.05"}},
    {67, {"10", "0.5", "8"}}, {68, {"2", "4"}}, {69, {"20", "7", "5", "3"}},
    {71, {"255"}}, {72, {"-8"}}, {73, {"5"}}, {74, {"ff", "16"}},
};

}  // namespace

class TFWizardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controls_have_their_designed_place_and_text_data();
    void controls_have_their_designed_place_and_text();
    void fx_button_shows_the_wizard_cleared();
    void choosing_a_function_shows_its_syntax_description_and_fields();
    void focused_field_shows_its_parameter_description();
    void mended_entries_offer_the_parameters_their_functions_take_data();
    void mended_entries_offer_the_parameters_their_functions_take();
    void gdraw_is_written_without_parentheses();
    void plot_quotes_its_function_and_variable();
    void converter_lists_the_engines_units_and_builds_the_call();
    void converter_value_one_or_empty_writes_no_factor();
    void category_node_does_nothing();
    void calc_composes_and_runs_the_call();
    void calc_with_nothing_selected_submits_the_entry_field();
    void a_call_longer_than_the_console_takes_is_refused();
    void every_leaf_composes_a_call_the_engine_accepts();
    void tab_completes_function_names_and_the_tooltip_shows_the_syntax();
    void f1_opens_the_wizard_on_the_function_under_the_caret();
    void screenshot_of_the_converter();
};

void TFWizardTest::controls_have_their_designed_place_and_text_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("TreeFn") << "TreeFn" << QRect(8, 16, 161, 185);
    QTest::newRow("Mfndesc") << "Mfndesc" << QRect(192, 18, 241, 41);
    QTest::newRow("Ep1") << "Ep1" << QRect(288, 62, 121, 21);
    QTest::newRow("Ep2") << "Ep2" << QRect(288, 80, 121, 21);
    QTest::newRow("Ep3") << "Ep3" << QRect(288, 98, 121, 21);
    QTest::newRow("Ep4") << "Ep4" << QRect(288, 115, 121, 21);
    QTest::newRow("Ep5") << "Ep5" << QRect(288, 136, 121, 21);
    QTest::newRow("SpeedButton1") << "SpeedButton1" << QRect(416, 62, 25, 46);
    QTest::newRow("SpeedButton2") << "SpeedButton2" << QRect(416, 109, 25, 47);
    QTest::newRow("Mpdesc") << "Mpdesc" << QRect(192, 156, 241, 48);
    QTest::newRow("PCU") << "PCU" << QRect(192, 58, 217, 100);
    QTest::newRow("E_Value") << "E_Value" << QRect(56, 8, 121, 21);
}

void TFWizardTest::controls_have_their_designed_place_and_text() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TFWizard wizard;
    QCOMPARE(control<QWidget>(&wizard, name)->geometry(), geometry);
}

void TFWizardTest::fx_button_shows_the_wizard_cleared() {
    Console console;
    QVERIFY(!console.wizard->isVisible());
    auto* fx = control<QToolButton>(control<QWidget>(console.form.get(), "Panel1"), "SpeedButton1");
    QVERIFY(fx->isEnabled());
    QTest::mouseClick(fx, Qt::LeftButton);
    QVERIFY(console.wizard->isVisible());
    QCOMPARE(console.wizard->windowTitle(), QString("Function Wizard"));
    QVERIFY(console.wizard->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(console.wizard->selection(), -1);
    QCOMPARE(control<QLabel>(console.wizard, "Label1")->text(), QString("Syntax:"));
    QCOMPARE(control<QLabel>(console.wizard, "LfnSintax")->text(), QString());
    for (int k = 1; k <= 5; ++k) {
        QVERIFY(!field(console.wizard, k)->isVisible());
        QCOMPARE(caption(console.wizard, k)->text(), QString());
    }
    QVERIFY(!control<QWidget>(console.wizard, "PCU")->isVisible());
    QCOMPARE(control<QToolButton>(console.wizard, "SpeedButton1")->text(), QString(">>"));
    QCOMPARE(control<QToolButton>(console.wizard, "SpeedButton2")->text(), QString("Calc"));
}

void TFWizardTest::choosing_a_function_shows_its_syntax_description_and_fields() {
    TFWizard wizard;
    wizard.show();
    choose(&wizard, node_named(&wizard, "plot"));
    QCOMPARE(control<QLabel>(&wizard, "LfnSintax")->text(), QString("PLOT ( funcion , var , x0 ,  xf ) "));
    QCOMPARE(control<QPlainTextEdit>(&wizard, "Mfndesc")->toPlainText(),
             QString("Draws a function or expression in a given domain"));
    const QStringList captions{"Function", "var", "x0", "xf", ""};
    for (int k = 1; k <= 5; ++k) {
        QCOMPARE(caption(&wizard, k)->text(), captions[k - 1]);
        QCOMPARE(field(&wizard, k)->isVisible(), k <= 4);
    }
    // Each leaf selects the entry of its id.
    QCOMPARE(help::help_entries()[static_cast<std::size_t>(wizard.selection())].id, 1);
    choose(&wizard, node_named(&wizard, "Poly roots"));
    QCOMPARE(help::help_entries()[static_cast<std::size_t>(wizard.selection())].id, 47);
    QVERIFY(field(&wizard, 1)->isVisible());
    QVERIFY(!field(&wizard, 2)->isVisible());
}

void TFWizardTest::focused_field_shows_its_parameter_description() {
    TFWizard wizard;
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    wizard.activateWindow();
    choose(&wizard, node_named(&wizard, "setserie"));
    auto* description = control<QPlainTextEdit>(&wizard, "Mpdesc");
    QCOMPARE(description->toPlainText(), QString());
    field(&wizard, 2)->setFocus();
    QTRY_COMPARE(description->toPlainText(),
                 QString("type of chart for the series (0-3): [0=Lines XY] [1=Pie] [2=Bars] [3=Area]"));
    field(&wizard, 3)->setFocus();
    QTRY_COMPARE(description->toPlainText(),
                 QString("name of the series . (Leave it in blank \"\" to not display the name in the chart)"));
    // Choosing another function empties the description.
    choose(&wizard, node_named(&wizard, "gclear"));
    QCOMPARE(description->toPlainText(), QString());
}

void TFWizardTest::mended_entries_offer_the_parameters_their_functions_take_data() {
    QTest::addColumn<QString>("leaf");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("expected");
    QTest::newRow("seriexy") << "seriexy" << QStringList{"Series", "vX", "vY"}
                             << "seriexy( 1,[1,2,3],[4,5,6])";
    QTest::newRow("normal") << "N(0,1)" << QStringList{"x"} << "normal( 1.96)";
    QTest::newRow("upperP") << "Poisson" << QStringList{"lambda", "x"} << "upperP( 2,4)";
    QTest::newRow("hypergeometric") << "Hypergeometric" << QStringList{"N", "M", "n", "x"}
                                    << "upperH( 20,7,5,3)";
}

void TFWizardTest::mended_entries_offer_the_parameters_their_functions_take() {
    QFETCH(QString, leaf);
    QFETCH(QStringList, captions);
    QFETCH(QString, expected);
    TFWizard wizard;
    wizard.show();
    QSignalSpy composed(&wizard, &TFWizard::entryComposed);
    choose(&wizard, node_named(&wizard, leaf));
    for (int k = 1; k <= 5; ++k) {
        QCOMPARE(field(&wizard, k)->isVisible(), k <= captions.size());
        QCOMPARE(caption(&wizard, k)->text(), k <= captions.size() ? captions[k - 1] : QString());
    }
    const int id = help::help_entries()[static_cast<std::size_t>(wizard.selection())].id;
    fill(&wizard, plausible_arguments.at(id));
    click(&wizard, "SpeedButton1");
    QCOMPARE(composed.size(), 1);
    QCOMPARE(composed[0][0].toString(), expected);
}

void TFWizardTest::gdraw_is_written_without_parentheses() {
    Console console;
    console.edit->setText("old text");
    choose(console.wizard, node_named(console.wizard, "gdraw"));
    for (int k = 1; k <= 5; ++k) QVERIFY(!field(console.wizard, k)->isVisibleTo(console.wizard));
    click(console.wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("gdraw"));
}

void TFWizardTest::plot_quotes_its_function_and_variable() {
    Console console;
    choose(console.wizard, node_named(console.wizard, "plot"));
    fill(console.wizard, {"sin(t)*t", "t", "-2", "2.5"});
    click(console.wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("plot ( \"sin(t)*t\",\"t\",-2,2.5)"));
    // Nothing is submitted by ">>".
    QCOMPARE(console.memo->lines().filter("plot").size(), 0);
}

void TFWizardTest::converter_lists_the_engines_units_and_builds_the_call() {
    Console console;
    TFWizard* wizard = console.wizard;
    choose(wizard, node_named(wizard, "Unit Conversion"));
    wizard->show();
    auto* panel = control<QWidget>(wizard, "PCU");
    QVERIFY(panel->isVisible());
    // The panel lies over the parameter fields.
    QVERIFY(panel->isAncestorOf(wizard->childAt(field(wizard, 1)->geometry().center())));

    // Types and units are the engine's unit table's converter choices.
    auto* types = control<QComboBox>(wizard, "Cb_utype");
    QStringList type_names;
    for (const auto& type : ostrac::numeric::converter_unit_types()) {
        type_names.append(QString::fromUtf8(type.name.data(), static_cast<qsizetype>(type.name.size())));
    }
    QCOMPARE(items(types), type_names);
    QCOMPARE(types->currentText(), QString("Distance"));
    for (int t = 0; t < types->count(); ++t) {
        types->setCurrentIndex(t);
        QStringList unit_names;
        for (std::string_view unit :
             ostrac::numeric::converter_units(ostrac::numeric::converter_unit_types()[static_cast<std::size_t>(t)].category)) {
            unit_names.append(QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size())));
        }
        QCOMPARE(items(control<QComboBox>(wizard, "cb_source")), unit_names);
        QCOMPARE(items(control<QComboBox>(wizard, "cb_target")), unit_names);
        QCOMPARE(control<QComboBox>(wizard, "cb_source")->currentIndex(), -1);
    }

    choose_units(wizard, "Distance", "ft", "m");
    QCOMPARE(field(wizard, 1)->text(), QString("\"ft\""));
    QCOMPARE(field(wizard, 2)->text(), QString("\"m\""));
    control<QLineEdit>(wizard, "E_Value")->setText("5");
    click(wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("5*cu( \"ft\",\"m\")"));
}

void TFWizardTest::converter_value_one_or_empty_writes_no_factor() {
    Console console;
    TFWizard* wizard = console.wizard;
    choose(wizard, node_named(wizard, "Unit Conversion"));
    choose_units(wizard, "Pressure", "psi", "bar");
    auto* value = control<QLineEdit>(wizard, "E_Value");
    QCOMPARE(value->text(), QString("1"));
    click(wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("cu( \"psi\",\"bar\")"));
    value->clear();
    console.edit->clear();
    click(wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("cu( \"psi\",\"bar\")"));
    // Leaving the converter hides the panel, and its value no longer counts.
    value->setText("3");
    choose(wizard, node_named(wizard, "sin(z)"));
    QVERIFY(!control<QWidget>(wizard, "PCU")->isVisibleTo(wizard));
    fill(wizard, {"1"});
    click(wizard, "SpeedButton1");
    QCOMPARE(console.edit->text(), QString("sin( 1)"));
}

void TFWizardTest::category_node_does_nothing() {
    Console console;
    TFWizard* wizard = console.wizard;
    choose(wizard, node_named(wizard, "Unit Conversion"));
    choose(wizard, node_named(wizard, "sinh(x)"));
    fill(wizard, {"2"});
    console.edit->setText("kept");
    for (const QString category : {"General", "Trigonometrical", "Upper Prob", "Misc"}) {
        choose(wizard, node_named(wizard, category));
        QCOMPARE(wizard->selection(), -1);
        QCOMPARE(control<QLabel>(wizard, "LfnSintax")->text(), QString());
        QCOMPARE(control<QPlainTextEdit>(wizard, "Mfndesc")->toPlainText(), QString());
        QVERIFY(!field(wizard, 1)->isVisibleTo(wizard));
        QVERIFY(!control<QWidget>(wizard, "PCU")->isVisibleTo(wizard));
        click(wizard, "SpeedButton1");
        QCOMPARE(console.edit->text(), QString("kept"));
    }
    // The cleared display shows no trace of the function chosen before.
    QCOMPARE(field(wizard, 1)->text(), QString());
}

void TFWizardTest::calc_composes_and_runs_the_call() {
    Console console;
    TFWizard* wizard = console.wizard;
    choose(wizard, node_named(wizard, "Unit Conversion"));
    choose_units(wizard, "Distance", "km", "m");
    control<QLineEdit>(wizard, "E_Value")->setText("2.5");
    const qsizetype before = console.memo->lines().size();
    click(wizard, "SpeedButton2");
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().mid(before), (QStringList{">> 2.5*cu( \"km\",\"m\")", "2500"}));
    QCOMPARE(console.edit->text(), QString());
    QCOMPARE(console.edit->history().slot(0), QString("2.5*cu( \"km\",\"m\")"));

    // A value of several terms is converted whole.
    control<QLineEdit>(wizard, "E_Value")->setText("1+1.5");
    const qsizetype next = console.memo->lines().size();
    click(wizard, "SpeedButton2");
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().mid(next), (QStringList{">> (1+1.5)*cu( \"km\",\"m\")", "2500"}));
}

void TFWizardTest::calc_with_nothing_selected_submits_the_entry_field() {
    Console console;
    console.edit->setText("print 6*7");
    const qsizetype before = console.memo->lines().size();
    QCOMPARE(console.wizard->selection(), -1);
    click(console.wizard, "SpeedButton2");
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().mid(before), (QStringList{">> print 6*7", "42"}));
}

void TFWizardTest::a_call_longer_than_the_console_takes_is_refused() {
    Console console;
    TFWizard* wizard = console.wizard;
    wizard->show();
    choose(wizard, node_named(wizard, "plot"));
    // plot ( "<f>","x",0,1) has 18 characters besides the function.
    fill(wizard, {QString(236, 'x'), "x", "0", "1"});
    click(wizard, "SpeedButton1");
    QCOMPARE(console.edit->text().size(), 254);

    console.edit->setText("before");
    fill(wizard, {QString(237, 'x')});
    QString message;
    on_next_modal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
        modal->close();
    });
    click(wizard, "SpeedButton1");
    QVERIFY2(message.contains("255 characters") && message.contains("254"), qPrintable(message));
    QCOMPARE(console.edit->text(), QString("before"));

    // "Calc" runs nothing either.
    const qsizetype before = console.memo->lines().size();
    message.clear();
    on_next_modal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
        modal->close();
    });
    click(wizard, "SpeedButton2");
    QVERIFY(!message.isEmpty());
    QVERIFY(console.wait_idle());
    QCOMPARE(console.memo->lines().size(), before);
    QCOMPARE(console.edit->text(), QString("before"));
}

void TFWizardTest::every_leaf_composes_a_call_the_engine_accepts() {
    Console console;
    TFWizard* wizard = console.wizard;
    int leaves = 0;
    int ran = 0;
    for (QTreeWidgetItemIterator it(control<QTreeWidget>(wizard, "TreeFn"), QTreeWidgetItemIterator::NoChildren);
         *it != nullptr; ++it) {
        ++leaves;
        const int id = (*it)->data(0, Qt::UserRole).toInt();
        const QString leaf = (*it)->text(0);
        choose(wizard, *it);
        QVERIFY2(wizard->selection() >= 0, qPrintable(leaf));
        const help::HelpEntry& entry = help::help_entries()[static_cast<std::size_t>(wizard->selection())];
        QCOMPARE(entry.id, id);
        if (id == help::converter_entry_id) {
            choose_units(wizard, "Mass", "lb", "kg");
        } else {
            QVERIFY2(plausible_arguments.contains(id), qPrintable(leaf));
            fill(wizard, plausible_arguments.at(id));
        }
        console.edit->clear();
        click(wizard, "SpeedButton1");
        const QString call = console.edit->text();
        QVERIFY2(call.startsWith(QString::fromUtf8(entry.name.data(), static_cast<qsizetype>(entry.name.size()))),
                 qPrintable(call));

        const QStringList compiled = console.compile(call);
        QVERIFY2(compiled.isEmpty(), qPrintable(call + " -> " + compiled.join(" | ")));

        // The function exists and accepts the arguments: the call runs
        // without an error report.
        const qsizetype before = console.memo->lines().size();
        click(wizard, "SpeedButton2");
        QVERIFY(console.wait_idle());
        const QStringList printed = console.memo->lines().mid(before);
        QVERIFY2(!printed.isEmpty() && printed.front() == ">> " + call, qPrintable(printed.join(" | ")));
        for (const QString& line : printed) QVERIFY2(!is_error(line), qPrintable(call + " -> " + line));
        ++ran;
    }
    QCOMPARE(leaves, static_cast<int>(help::help_entries().size()));
    qInfo("%d calls compiled, %d of them run", leaves, ran);
}

void TFWizardTest::tab_completes_function_names_and_the_tooltip_shows_the_syntax() {
    Console console;
    EntryField* edit = console.edit;
    edit->setFocus();
    QTest::keyClicks(edit, "y = sin");
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(console.form->focusWidget(), edit);  // Tab completes, the focus stays
    QCompleter* completer = edit->completer();
    QAbstractItemView* popup = completer->popup();
    QTRY_VERIFY(popup->isVisible());
    QStringList offered;
    for (int row = 0; row < completer->completionCount(); ++row) {
        completer->setCurrentRow(row);
        offered.append(completer->currentCompletion());
    }
    QCOMPARE(offered, (QStringList{"sin", "sinh"}));
    QCOMPARE(popup->currentIndex().row(), 0);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QTRY_VERIFY(!popup->isVisible());
    QCOMPARE(edit->text(), QString("y = sinh"));
    QCOMPARE(edit->toolTip(), QString("SINH (x)"));
    QTest::keyClicks(edit, "(2, ");
    QCOMPARE(edit->toolTip(), QString("SINH (x)"));
    QTest::keyClicks(edit, "1) + ");
    QCOMPARE(edit->toolTip(), QString());

    // A single candidate is written at once, in its own spelling; the name
    // in the middle of a line keeps what follows it.
    edit->setText("x = upperni(0.05)");
    edit->setCursorPosition(11);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->text(), QString("x = upperNi(0.05)"));
    QCOMPARE(edit->cursorPosition(), 11);
    edit->setText("x = upperN");
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->text(), QString("x = upperNi"));
    QCOMPARE(edit->toolTip(), QString("upperNi(p)"));
    edit->undo();
    QCOMPARE(edit->text(), QString("x = upperN"));
    edit->redo();
    // A name with two entries shows both syntaxes.
    edit->setText("abs(");
    QCOMPARE(edit->toolTip(), QString("Abs (z)\nabs (v)"));
    // Nothing to complete: Tab changes nothing.
    edit->setText("x = 2 + ");
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(edit->text(), QString("x = 2 + "));
    QVERIFY(!popup->isVisible());
}

void TFWizardTest::f1_opens_the_wizard_on_the_function_under_the_caret() {
    Console console;
    EntryField* edit = console.edit;
    edit->setText("p = upperT(10, 2");
    QTest::keyClick(edit, Qt::Key_F1);
    QVERIFY(console.wizard->isVisible());
    QCOMPARE(help::help_entries()[static_cast<std::size_t>(console.wizard->selection())].id, 61);
    QCOMPARE(control<QLabel>(console.wizard, "LfnSintax")->text(), QString("upperT(n,x)"));
    QVERIFY(node_with_id(console.wizard, 61)->isSelected());

    edit->setText("y = cu(\"m\", \"ft\") * 3");
    edit->setCursorPosition(5);
    QTest::keyClick(edit, Qt::Key_F1);
    QCOMPARE(help::help_entries()[static_cast<std::size_t>(console.wizard->selection())].id, 70);
    QVERIFY(control<QWidget>(console.wizard, "PCU")->isVisible());

    // No function there: the wizard keeps what it showed.
    edit->setText("x = 2");
    QTest::keyClick(edit, Qt::Key_F1);
    QCOMPARE(help::help_entries()[static_cast<std::size_t>(console.wizard->selection())].id, 70);
}

void TFWizardTest::screenshot_of_the_converter() {
    TFWizard wizard;
    wizard.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wizard));
    auto* tree = control<QTreeWidget>(&wizard, "TreeFn");
    node_named(&wizard, "Probability")->setExpanded(true);
    node_named(&wizard, "Upper Prob")->setExpanded(true);
    choose(&wizard, node_named(&wizard, "Unit Conversion"));
    tree->scrollToItem(node_named(&wizard, "Unit Conversion"));
    choose_units(&wizard, "Pressure", "psi", "bar");
    control<QLineEdit>(&wizard, "E_Value")->setText("14.7");
    QTest::qWait(50);
    const QImage shot = wizard.grab().toImage();
    QDir().mkpath(QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/screenshots"));
    const QString path = QStringLiteral(OSTRAC_TEST_OUTPUT_DIR "/screenshots/wizard.png");
    QVERIFY(shot.save(path));
    qInfo("screenshot saved as %s", qPrintable(path));
    QCOMPARE(shot.size(), wizard.size() * shot.devicePixelRatio());
    // The window shows the palette's window colour where no control is, and
    // the panel lies where it was designed.
    QCOMPARE(shot.pixelColor(QPoint(180, 205) * shot.devicePixelRatio()), wizard.palette().color(QPalette::Window));
    QCOMPARE(wizard.childAt(QPoint(200, 140)), control<QWidget>(&wizard, "PCU"));
}

QTEST_MAIN(TFWizardTest)
#include "tfwizard_test.moc"
