// SPDX-License-Identifier: GPL-3.0-or-later
// A completer whose suggestion list never takes the input away from the box it completes: the list is a
// window that grabs neither mouse nor keyboard, so a click elsewhere reaches what was clicked (and the list
// closes as the box loses the focus), and typing stays in the box that has the focus.
#pragma once

#include <QCompleter>

namespace velmora {

class SuggestCompleter : public QCompleter {
public:
    SuggestCompleter(QAbstractItemModel *model, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *list_ = nullptr; // the pop-up, once made (making it sends events through this filter)
};

} // namespace velmora
