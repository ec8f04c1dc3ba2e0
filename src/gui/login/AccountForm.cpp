#include "gui/login/AccountForm.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/account/Registration.h"
#include "gui/widgets/Controls.h"

namespace tl {

QLineEdit* limitedEdit(QWidget* parent, int id, int limit) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setMaxLength(limit);
    return edit;
}

QLineEdit* passwordEdit(QWidget* parent, int id) {
    QLineEdit* edit = limitedEdit(parent, id, 50);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QComboBox* choiceBox(QWidget* parent, int id, bool editable, const QStringList& entries) {
    auto* box = new QComboBox(parent);
    setControlId(box, id);
    box->setEditable(editable);
    box->addItems(entries);
    if (editable) box->lineEdit()->setMaxLength(50);
    return box;
}

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string textOf(const QComboBox* box) {
    return box->currentText().toStdString();
}

QStringList toStringList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << QString::fromStdString(text);
    return list;
}

QStringList connectionChoices() {
    return {kUnknownConnection, "56K", "Cable", "DSL", "T1", "T3"};
}

QStringList stateChoices() {
    return {"",   "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "HI",
            "IA", "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO",
            "MS", "MT", "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR",
            "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VA", "VT", "WA", "WI", "WV", "WY"};
}

}  // namespace tl
