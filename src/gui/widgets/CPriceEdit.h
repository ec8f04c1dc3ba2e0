#pragma once

#include <QLineEdit>

namespace tl {

// The price entry field: typed letters and symbols are dropped, and so is a second point.
// Digits, the first point, space, double quote and control keys pass.
class CPriceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CPriceEdit(QWidget* parent = nullptr);

    // True when a typed character is dropped by the field whatever its text.
    static bool isRefusedCharacter(QChar typed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tl
