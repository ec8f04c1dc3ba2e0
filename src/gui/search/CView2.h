#pragma once

#include "gui/widgets/FormPane.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTreeWidgetItem;

namespace tl {

class ResultList;

// The advanced search form: title, description, zip code, price with a greater-than or
// less-than switch, category, club, kind and poster, with the result list below the fields.
// The row chosen in the list goes to the session's advanced values, which the search buttons
// beside the form act on. The values stay between searches until Clear.
class CView2 : public FormPane {
    Q_OBJECT
public:
    explicit CView2(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

    // Replaces the list with the listings that meet every filled-in criterion.
    void Search();
    // Empties every field and leaves no kind and no price switch chosen.
    void Clear();
    // Lets the member pick the category from the category picker.
    void Select();
    // Downloads the listing of the advanced selection and shows it; false when that failed.
    bool FetchListing();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadClubs();
    void trackClick(QTreeWidgetItem* row);
    void trackChosenRow();
    void openResult();

    QLineEdit* title_;
    QLineEdit* description_;
    QLineEdit* zipcode_;
    QLineEdit* price_;
    QLineEdit* category_;
    QLineEdit* user_;
    QComboBox* club_;
    QComboBox* club2_;
    QComboBox* category2_;
    QButtonGroup* kind_;
    QButtonGroup* priceSwitch_;
    ResultList* list_;
    bool clubsLoaded_ = false;
};

}  // namespace tl
