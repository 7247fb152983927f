#include "wizard/tfwizard.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <string>
#include <vector>

#include "common/widget_making.h"
#include "common/window_stacking.h"
#include "help/call_text.h"
#include "help/converter.h"
#include "help/function_tree.h"
#include "session/session.h"

namespace ostrac::ui {

namespace {

constexpr int id_role = Qt::UserRole;

// Lines of text the two help boxes show at least.
constexpr int description_lines = 2;

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QPlainTextEdit* make_memo(const char* name, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFocusPolicy(Qt::NoFocus);
    // Help texts on the window's own colour, as the designed grey memos were.
    memo->viewport()->setBackgroundRole(QPalette::Window);
    return memo;
}

// A help box just high enough for its lines in the current font.
void fit_lines(QPlainTextEdit* memo, int lines) {
    const int frame = 2 * memo->frameWidth() + 2 * static_cast<int>(memo->document()->documentMargin());
    memo->setMinimumHeight(lines * memo->fontMetrics().lineSpacing() + frame);
}

QComboBox* make_list(const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    return list;
}

QToolButton* make_button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

}  // namespace

TFWizard::TFWizard(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("FWizard");
    setWindowTitle("Function Wizard");
    setAutoFillBackground(true);

    build_tree();
    auto* syntax_caption = make_label("Syntax:", "Label1", this);
    LfnSintax = make_label(QString(), "LfnSintax", this);
    Mfndesc = make_memo("Mfndesc", this);
    Mpdesc = make_memo("Mpdesc", this);
    Mpdesc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The converter panel takes the place of the parameter fields.
    fields_ = new QStackedWidget(this);
    fields_->setObjectName("PFields");
    fields_->addWidget(build_parameters());
    fields_->addWidget(build_converter());
    SpeedButton1 = make_button(">>", "SpeedButton1", this);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFWizard::SpeedButton1Click);
    SpeedButton2 = make_button("Calc", "SpeedButton2", this);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFWizard::SpeedButton2Click);

    // The syntax line across the top; under it the tree on the left and,
    // on the right, the description, the fields with the two buttons and the
    // parameter's help. Across the top the longest syntax fits the designed
    // width.
    syntax_row_ = new QHBoxLayout;
    syntax_row_->addWidget(syntax_caption);
    syntax_row_->addWidget(LfnSintax, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(1);
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);
    auto* middle = new QHBoxLayout;
    middle->addWidget(fields_, 1);
    middle->addLayout(buttons);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 3, 8, 8);
    grid->setSpacing(4);
    grid->addLayout(syntax_row_, 0, 0, 1, 2);
    grid->addWidget(TreeFn, 1, 0, 3, 1);
    grid->addWidget(Mfndesc, 1, 1);
    grid->addLayout(middle, 2, 1);
    grid->addWidget(Mpdesc, 3, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 1);
    follow_font();

    refill_units();
    clear_display();

    // Client area of the designed 470 x 232 tool window, or what the font needs.
    resize(QSize(462, 209).expandedTo(minimumSizeHint()));
    move(336, 251);
}

void TFWizard::build_tree() {
    TreeFn = new QTreeWidget(this);
    TreeFn->setObjectName("TreeFn");
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

QWidget* TFWizard::build_parameters() {
    auto* page = new QWidget;
    page->setObjectName("PParameters");
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    for (std::size_t k = 0; k < Ep.size(); ++k) {
        const QByteArray number = QByteArray::number(static_cast<int>(k) + 1);
        Lp[k] = new QLabel(page);
        Lp[k]->setObjectName("Lp" + number);
        Lp[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Ep[k] = new QLineEdit(page);
        Ep[k]->setObjectName("Ep" + number);
        Ep[k]->installEventFilter(this);
        // A hidden field keeps its row, so the rows stay where they are.
        QSizePolicy policy = Ep[k]->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        Ep[k]->setSizePolicy(policy);
        const int row = static_cast<int>(k);
        grid->addWidget(Lp[k], row, 0);
        grid->addWidget(Ep[k], row, 1);
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(static_cast<int>(Ep.size()), 1);
    return page;
}

QWidget* TFWizard::build_converter() {
    PCU = new QWidget;
    PCU->setObjectName("PCU");
    PCU->setAutoFillBackground(true);

    E_Value = new QLineEdit("1", PCU);
    E_Value->setObjectName("E_Value");
    Cb_utype = make_list("Cb_utype", PCU);
    for (const help::ConverterType& type : help::converter_types()) Cb_utype->addItem(text_of(type.name), type.id);
    Cb_utype->setCurrentIndex(0);
    connect(Cb_utype, &QComboBox::currentIndexChanged, this, &TFWizard::Cb_utypeChange);
    cb_source = make_list("cb_source", PCU);
    connect(cb_source, &QComboBox::currentIndexChanged, this, &TFWizard::cb_sourceChange);
    cb_target = make_list("cb_target", PCU);
    connect(cb_target, &QComboBox::currentIndexChanged, this, &TFWizard::cb_targetChange);

    auto* grid = new QGridLayout(PCU);
    grid->setContentsMargins(4, 0, 0, 0);
    grid->setVerticalSpacing(2);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {make_label("Value", "LCU_Value", PCU), E_Value},
        {make_label("Unit Type", "LCUType", PCU), Cb_utype},
        {make_label("Source", "LCUSource", PCU), cb_source},
        {make_label("Target", "LCUTarget", PCU), cb_target},
    };
    for (int row = 0; row < 4; ++row) {
        rows[row].first->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(rows[row].first, row, 0);
        grid->addWidget(rows[row].second, row, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return PCU;
}

void TFWizard::follow_font() {
    // A caption and the label beside it are a blank apart whatever the font.
    syntax_row_->setSpacing(fontMetrics().horizontalAdvance(' ') + 2);
    // Room for the longest syntax, so that the window keeps its width
    // whichever function is chosen.
    int widest = 0;
    for (const help::HelpEntry& entry : help::help_entries()) {
        widest = std::max(widest, LfnSintax->fontMetrics().horizontalAdvance(text_of(entry.syntax)));
    }
    LfnSintax->setMinimumWidth(widest);
    // The tree shows its captions whole, expanded to the deepest level.
    int tree_width = 0;
    for (QTreeWidgetItemIterator it(TreeFn); *it != nullptr; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) ++depth;
        tree_width = std::max(tree_width, depth * TreeFn->indentation() +
                                              TreeFn->fontMetrics().horizontalAdvance((*it)->text(0)));
    }
    TreeFn->setMinimumWidth(tree_width + TreeFn->verticalScrollBar()->sizeHint().width() + 2 * TreeFn->frameWidth() +
                            fontMetrics().averageCharWidth());
    fit_lines(Mfndesc, description_lines);
    fit_lines(Mpdesc, description_lines);
}

void TFWizard::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) follow_font();
}

void TFWizard::TreeFnChange(QTreeWidgetItem* node) {
    const int id = node == nullptr ? 0 : node->data(0, id_role).toInt();
    if (id <= 0) {
        selection_ = -1;
        clear_display();
        fields_->setCurrentIndex(0);
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
        fields_->setCurrentWidget(PCU);
        refill_units();
    } else {
        fields_->setCurrentIndex(0);
    }
    clear_display();
    LfnSintax->setText(text_of(entry.syntax));
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
    const std::string factor = fields_->currentWidget() == PCU ? E_Value->text().toStdString() : std::string();
    return QString::fromStdString(help::compose_call(entry, fields, factor));
}

std::optional<QString> TFWizard::checked_call() {
    const QString call = call_text();
    // The console keeps at most this much of a line; a cut call would run
    // something other than what was composed.
    const auto length = call.toStdString().size();
    if (length > session::Session::input_line_max) {
        warn(this, QStringLiteral("The call has %1 characters, but the console accepts at most %2. "
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
    bring_to_front(this);
    return found;
}

}  // namespace ostrac::ui
