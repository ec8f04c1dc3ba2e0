#pragma once

#include "gui/listings/ListingForm.h"

namespace tl {

// The new-listing form: the member describes an item, attaches photos and publishes it. Add
// sends the listing to the marketplace server, copies the photos beside it in the products
// folder, shows it in the web pane and remembers the member's shipping, payment and escrow
// choices for the next listing. Preview shows the listing without publishing it.
class CView3 : public ListingForm {
    Q_OBJECT
public:
    explicit CView3(QWidget* parent = nullptr);

    // Ticks the starting choices and restores the member's remembered ones. Runs once, when
    // the form is first shown (the member is logged in by then).
    void OnInitialUpdate();

    void Add();
    void Preview();
    void Clear();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildButtons();

    // Empties what describes the item; keeps the member's choices and saves them as defaults.
    void clearAfterAdd(const std::string& hyperlink);
    // Empties what describes the item: its texts, price, kind and photos; the member's shipping,
    // payment and escrow choices stay.
    void clearItem();

    bool initialUpdateDone_ = false;
};

}  // namespace tl
