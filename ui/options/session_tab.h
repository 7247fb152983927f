// The options dialog's "Session" tab: whether the whole session is saved
// into autosave.bin when the program quits and loaded at the next start.
#pragma once

#include <QWidget>

#include "options/session_options.h"

class QCheckBox;

namespace ostrac::ui {

class SessionTab : public QWidget {
    Q_OBJECT

public:
    explicit SessionTab(QWidget* parent = nullptr);

    void show_options(const SessionOptions& options);
    void take_options(SessionOptions& options) const;

private:
    QCheckBox* CK_autosave = nullptr;
};

}  // namespace ostrac::ui
