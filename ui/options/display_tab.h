// The options dialog's "Display" tab: how the console shows numbers. The
// significant digits of reals (the parts of complex numbers and matrix
// elements show two fewer), the notation, and a blank between groups of
// three digits of long integer parts.
#pragma once

#include <QWidget>

#include "options/session_options.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace ostrac::ui {

class DisplayTab : public QWidget {
    Q_OBJECT

public:
    explicit DisplayTab(QWidget* parent = nullptr);

    void show_options(const SessionOptions& options);
    void take_options(SessionOptions& options) const;

private:
    QSpinBox* E_digits = nullptr;
    QComboBox* CB_notation = nullptr;
    QCheckBox* CK_grouping = nullptr;
};

}  // namespace ostrac::ui
