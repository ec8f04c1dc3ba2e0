#pragma once

#include <string>

#include "gui/widgets/FormPane.h"

class QLineEdit;

namespace tl {

// The quick-search bar below the work area: kind of listing, criteria, "Search" and
// "Advanced". "Search" leaves the search pending for the result view and shows it.
class CLowerRight : public FormPane {
    Q_OBJECT
public:
    explicit CLowerRight(QWidget* parent = nullptr);

    void onSearch();
    void onAdvanced();
    const std::string& status() const { return status_; }

private:
    QLineEdit* criteria_;
    std::string status_;  // "SELLING", "BUYING" or "BOTH"; empty until a kind is clicked
};

}  // namespace tl
