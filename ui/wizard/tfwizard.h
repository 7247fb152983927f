// The function wizard: the tree of functions (TreeFn) with the syntax and
// description of the chosen one, five parameter fields (Ep1 to Ep5), and the
// unit converter panel (PCU) for the conversion function. ">>" composes the
// call into the console's entry field, "Calc" composes and submits it.
//
// The wizard reaches the console only through its two signals; it knows the
// functions only through the help table. Closing it hides it; selection and
// field contents are kept.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

#include "help/function_help.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ostrac::ui {

class TFWizard : public QWidget {
    Q_OBJECT

public:
    explicit TFWizard(QWidget* parent = nullptr);

    // Selects the tree leaf of the first help entry called by this name
    // (case ignored) and shows the window; without such an entry the window
    // is shown as it was. Returns whether an entry was found.
    bool show_function(const QString& name);

    // Index of the selected help entry, -1 when none.
    int selection() const { return selection_; }

signals:
    // ">>": the console's entry field should hold this text.
    void entryComposed(const QString& text);
    // "Calc": the console should run its entry as if Enter were pressed.
    void submitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build_tree();
    // The parameters' page and the converter's page of `fields_`.
    QWidget* build_parameters();
    QWidget* build_converter();
    // Spacing and the help boxes' heights follow the window's font.
    void follow_font();

    void TreeFnChange(QTreeWidgetItem* node);
    void clear_display();
    void display_entry(int index);
    void refill_units();
    void Cb_utypeChange();
    void cb_sourceChange(int index);
    void cb_targetChange(int index);

    // The call of the selected entry from the fields as they are now.
    QString call_text() const;
    // The call text, or nothing (after a message) when the console could not
    // take it whole.
    std::optional<QString> checked_call();
    void SpeedButton1Click();
    void SpeedButton2Click();

    int selection_ = -1;

    QTreeWidget* TreeFn = nullptr;
    QLabel* LfnSintax = nullptr;
    QPlainTextEdit* Mfndesc = nullptr;
    std::array<QLabel*, help::max_parameters> Lp{};
    std::array<QLineEdit*, help::max_parameters> Ep{};
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPlainTextEdit* Mpdesc = nullptr;
    QHBoxLayout* syntax_row_ = nullptr;
    QStackedWidget* fields_ = nullptr;
    QWidget* PCU = nullptr;
    QLineEdit* E_Value = nullptr;
    QComboBox* Cb_utype = nullptr;
    QComboBox* cb_source = nullptr;
    QComboBox* cb_target = nullptr;
};

}  // namespace ostrac::ui
