#pragma once

#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace tl {

// Controls shared by the registration dialog, the profile form and the password dialog.
QLineEdit* limitedEdit(QWidget* parent, int id, int limit);
QLineEdit* passwordEdit(QWidget* parent, int id);  // hidden characters, 50 at most
// A drop-down list, or with editable a drop-down whose entry the member may also type.
QComboBox* choiceBox(QWidget* parent, int id, bool editable, const QStringList& entries = {});

std::string textOf(const QLineEdit* edit);
std::string textOf(const QComboBox* box);
QStringList toStringList(const std::vector<std::string>& texts);

// The connection speeds a member picks from.
QStringList connectionChoices();
// The state codes of the registration form.
QStringList stateChoices();

}  // namespace tl
