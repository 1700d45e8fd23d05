#pragma once
// Enter as a default button outside a dialog. On the upload page Enter runs
// "Открыть файлы" whenever the focused control leaves the key alone (the page tabs
// right after start, the buttons, the list); in the account fields it runs the login.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTabWidget>
#include <initializer_list>

namespace cvu {

// Enter or Return that no control of window took clicks button while page is the
// pager's current page.
void MakePageDefaultButton(QWidget* window, QTabWidget* pager, QWidget* page, QAbstractButton* button);

// Enter or Return in any of the fields clicks button (nothing while it is disabled).
void MakeFieldsDefaultButton(std::initializer_list<QLineEdit*> fields, QAbstractButton* button);

}  // namespace cvu
