#include "wizard/tfwizard.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <string>
#include <vector>

#include "common/widget_making.h"
#include "help/call_text.h"
#include "help/converter.h"
#include "help/function_tree.h"
#include "session/session.h"

namespace ostrac::ui {

namespace {

constexpr int id_role = Qt::UserRole;

// Designed places of the parameter labels and fields. The labels are
// right-aligned and end just before their fields.
constexpr std::array label_tops{65, 83, 102, 118, 136};
constexpr std::array field_tops{62, 80, 98, 115, 136};
constexpr int label_right = 284;
constexpr int label_width = 84;
constexpr int field_left = 288;

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPlainTextEdit* make_memo(const char* name, const QRect& geometry, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setFocusPolicy(Qt::NoFocus);
    // Help texts on the window's own colour, as the designed grey memos were.
    memo->viewport()->setBackgroundRole(QPalette::Window);
    return memo;
}

QComboBox* make_list(const char* name, const QRect& geometry, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    return list;
}

}  // namespace

TFWizard::TFWizard(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("FWizard");
    setWindowTitle("Function Wizard");
    // The designed 8 point font keeps the captions clear of their controls.
    QFont small_font(QStringLiteral("Sans Serif"));
    small_font.setStyleHint(QFont::SansSerif);
    small_font.setPixelSize(11);
    setFont(small_font);
    setAutoFillBackground(true);

    build_tree();
    make_label("Syntax:", "Label1", {168, 3}, this);
    LfnSintax = make_label(QString(), "LfnSintax", {208, 3}, this);
    Mfndesc = make_memo("Mfndesc", {192, 18, 241, 41}, this);
    build_parameters();
    Mpdesc = make_memo("Mpdesc", {192, 156, 241, 48}, this);
    Mpdesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    build_converter();

    refill_units();
    clear_display();

    // Client area of the designed 470 x 232 tool window.
    resize(462, 209);
    move(336, 251);
}

void TFWizard::build_tree() {
    TreeFn = new QTreeWidget(this);
    TreeFn->setObjectName("TreeFn");
    TreeFn->setGeometry(8, 16, 161, 185);
    TreeFn->setIndentation(19);
    TreeFn->setHeaderHidden(true);
    std::vector<QTreeWidgetItem*> parents;  // the last node seen at each depth
    for (const help::TreeNode& node : help::function_tree()) {
        const auto depth = static_cast<std::size_t>(node.depth);
        auto* item = depth == 0 ? new QTreeWidgetItem(TreeFn) : new QTreeWidgetItem(parents[depth - 1]);
        item->setText(0, text_of(node.caption));
        item->setData(0, id_role, node.id);
        parents.resize(depth);
        parents.push_back(item);
    }
    connect(TreeFn, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { TreeFnChange(node); });
}

void TFWizard::build_parameters() {
    for (std::size_t k = 0; k < Ep.size(); ++k) {
        const QByteArray number = QByteArray::number(static_cast<int>(k) + 1);
        Lp[k] = new QLabel(this);
        Lp[k]->setObjectName("Lp" + number);
        Lp[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Lp[k]->setGeometry(label_right - label_width, label_tops[k] - 2, label_width, 17);
        Ep[k] = new QLineEdit(this);
        Ep[k]->setObjectName("Ep" + number);
        Ep[k]->setGeometry(field_left, field_tops[k], 121, 21);
        Ep[k]->installEventFilter(this);
    }

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText(">>");
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(416, 62, 25, 46);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFWizard::SpeedButton1Click);

    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setText("Calc");
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setGeometry(416, 109, 25, 47);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFWizard::SpeedButton2Click);
}

void TFWizard::build_converter() {
    PCU = new QWidget(this);
    PCU->setObjectName("PCU");
    PCU->setGeometry(192, 58, 217, 100);
    PCU->setAutoFillBackground(true);

    make_label("Value", "LCU_Value", {16, 12}, PCU);
    E_Value = new QLineEdit("1", PCU);
    E_Value->setObjectName("E_Value");
    E_Value->setGeometry(56, 8, 121, 21);

    make_label("Unit Type", "LCUType", {4, 34}, PCU);
    Cb_utype = make_list("Cb_utype", {56, 32, 145, 21}, PCU);
    for (const help::ConverterType& type : help::converter_types()) Cb_utype->addItem(text_of(type.name), type.id);
    Cb_utype->setCurrentIndex(0);
    connect(Cb_utype, &QComboBox::currentIndexChanged, this, &TFWizard::Cb_utypeChange);

    make_label("Source", "LCUSource", {16, 56}, PCU);
    cb_source = make_list("cb_source", {56, 53, 145, 21}, PCU);
    connect(cb_source, &QComboBox::currentIndexChanged, this, &TFWizard::cb_sourceChange);

    make_label("Target", "LCUTarget", {16, 78}, PCU);
    cb_target = make_list("cb_target", {56, 74, 145, 21}, PCU);
    connect(cb_target, &QComboBox::currentIndexChanged, this, &TFWizard::cb_targetChange);

    PCU->hide();
}

void TFWizard::TreeFnChange(QTreeWidgetItem* node) {
    const int id = node == nullptr ? 0 : node->data(0, id_role).toInt();
    if (id <= 0) {
        selection_ = -1;
        clear_display();
        PCU->hide();
        return;
    }
    const auto entries = help::help_entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == id) {
            selection_ = static_cast<int>(i);
            display_entry(selection_);
            return;
        }
    }
    selection_ = -1;  // the display stays as it was
}

void TFWizard::clear_display() {
    LfnSintax->clear();
    for (QLabel* label : Lp) label->clear();
    Mfndesc->clear();
    for (QLineEdit* field : Ep) {
        field->clear();
        field->hide();
    }
    Mpdesc->clear();
}

void TFWizard::display_entry(int index) {
    const help::HelpEntry& entry = help::help_entries()[static_cast<std::size_t>(index)];
    if (entry.id == help::converter_entry_id) {
        PCU->show();
        PCU->raise();  // covers the parameter fields
        refill_units();
    } else {
        PCU->hide();
    }
    clear_display();
    LfnSintax->setText(text_of(entry.syntax));
    LfnSintax->adjustSize();
    Mfndesc->setPlainText(text_of(entry.description));
    for (std::size_t k = 0; k < Lp.size(); ++k) Lp[k]->setText(text_of(entry.parameters[k].name));
    // Only named parameters are offered: a call never ends with an empty argument.
    for (int k = 0; k < entry.parameter_count(); ++k) Ep[static_cast<std::size_t>(k)]->show();
}

void TFWizard::refill_units() {
    const int type = Cb_utype->currentIndex() < 0 ? Cb_utype->itemData(0).toInt() : Cb_utype->currentData().toInt();
    // No unit is chosen after a refill, so the fields keep their texts.
    for (QComboBox* list : {cb_source, cb_target}) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (std::string_view unit : help::converter_units(type)) list->addItem(text_of(unit));
        list->setCurrentIndex(-1);
    }
}

void TFWizard::Cb_utypeChange() { refill_units(); }

void TFWizard::cb_sourceChange(int index) {
    if (index >= 0) Ep[0]->setText(QStringLiteral("\"%1\"").arg(cb_source->itemText(index)));
}

void TFWizard::cb_targetChange(int index) {
    if (index >= 0) Ep[1]->setText(QStringLiteral("\"%1\"").arg(cb_target->itemText(index)));
}

bool TFWizard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && selection_ != -1) {
        const help::HelpEntry& entry = help::help_entries()[static_cast<std::size_t>(selection_)];
        for (std::size_t k = 0; k < Ep.size(); ++k) {
            if (watched == Ep[k]) Mpdesc->setPlainText(text_of(entry.parameters[k].description));
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TFWizard::call_text() const {
    const help::HelpEntry& entry = help::help_entries()[static_cast<std::size_t>(selection_)];
    std::vector<std::string> fields;
    for (const QLineEdit* field : Ep) fields.push_back(field->text().toStdString());
    const std::string factor = PCU->isVisibleTo(this) ? E_Value->text().toStdString() : std::string();
    return QString::fromStdString(help::compose_call(entry, fields, factor));
}

std::optional<QString> TFWizard::checked_call() {
    const QString call = call_text();
    // The console keeps at most this much of a line; a cut call would run
    // something other than what was composed.
    const auto length = call.toStdString().size();
    if (length > session::Session::input_line_max) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The call has %1 characters, but the console accepts at most %2. "
                                            "Shorten the parameters, or assign parts of them to variables first.")
                                 .arg(length)
                                 .arg(session::Session::input_line_max));
        return std::nullopt;
    }
    return call;
}

void TFWizard::SpeedButton1Click() {
    if (selection_ == -1) return;
    if (const std::optional<QString> call = checked_call()) emit entryComposed(*call);
}

void TFWizard::SpeedButton2Click() {
    if (selection_ != -1) {
        const std::optional<QString> call = checked_call();
        if (!call) return;
        emit entryComposed(*call);
    }
    emit submitRequested();
}

bool TFWizard::show_function(const QString& name) {
    const std::vector<const help::HelpEntry*> entries = help::find_help_by_name(name.toStdString());
    bool found = false;
    if (!entries.empty()) {
        const int id = entries.front()->id;
        for (QTreeWidgetItemIterator it(TreeFn); *it != nullptr; ++it) {
            if ((*it)->data(0, id_role).toInt() == id && (*it)->childCount() == 0) {
                TreeFn->setCurrentItem(*it);
                TreeFn->scrollToItem(*it);
                found = true;
                break;
            }
        }
    }
    show();
    raise();
    return found;
}

}  // namespace ostrac::ui
