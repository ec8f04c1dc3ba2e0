#pragma once

#include <QClipboard>

#include <string>
#include <vector>

#include "gui/widgets/FormPane.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;

namespace tl {

class CPriceEdit;
class CProductXml;
struct ListingValues;

// The new-listing form: the member describes an item, attaches photos and publishes it. Add
// sends the listing to the marketplace server, copies the photos beside it in the products
// folder, shows it in the web pane and remembers the member's shipping, payment and escrow
// choices for the next listing. Preview shows the listing without publishing it.
class CView3 : public FormPane {
    Q_OBJECT
public:
    explicit CView3(QWidget* parent = nullptr);

    // Ticks the starting choices and restores the member's remembered ones. Runs once, when
    // the form is first shown (the member is logged in by then).
    void OnInitialUpdate();

    void Add();
    void Preview();
    void Clear();
    // Puts at most 249 characters of the clipboard's text into the title or description box,
    // whichever last had the focus, and forgets that box.
    void onPaste();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFields();
    QWidget* buildChoices();
    QWidget* buildButtons();
    QRadioButton* radio(QButtonGroup* group, int id, const char* caption, std::string* value,
                        const char* chosen);

    void onAttachPhotos();
    void onRemoveAttach();
    void onSelectCategory(QLineEdit* category);
    void onOfferOrFree(const char* price);
    // The paste of the title or description box (target), whichever way the member pastes.
    void pasteInto(int target, QClipboard::Mode mode);
    void pasteFrom(QClipboard::Mode mode);
    // Rebuilds the payment-method codes and their readable text from the ticked boxes.
    void readPaymentBoxes();

    // The typed values of the form and the choices it holds.
    ListingValues formValues() const;
    std::vector<std::string> photoPaths() const;
    // Shows one message per empty required field; true when none is empty.
    bool requiredFieldsGiven(const ListingValues& values) const;
    bool titleAllowed(const std::string& title) const;
    // The first photo that cannot be read, or whose file name another photo has already, is
    // named to the member; true when every photo can be stored beside the listing.
    bool photosUsable(const std::vector<std::string>& photos) const;
    // Copies the photos into folder (products/<folder>) and adds an entry "<folder>/<name>" for
    // each; the bytes copied, or -1 after naming the photo that could not be copied.
    long long attachPhotos(CProductXml& listing, const std::string& folder, bool preview);
    void showListing(const std::string& path);
    // Empties what describes the item; keeps the member's choices and saves them as defaults.
    void clearAfterAdd(const std::string& hyperlink);
    // Empties what describes the item: its texts, price, kind and photos; the member's shipping,
    // payment and escrow choices stay.
    void clearItem();

    QLineEdit* title_;
    QLineEdit* zipcode_;
    QListWidget* photos_;
    QPlainTextEdit* description_;
    CPriceEdit* price_;
    QLineEdit* quantity_;
    QLineEdit* category1_;
    QLineEdit* category2_;
    QLineEdit* hyperlink_;
    QCheckBox* cardBox_;
    std::vector<QCheckBox*> paymentBoxes_;  // in payment-method table order

    QButtonGroup* statusGroup_;
    QButtonGroup* shippayGroup_;
    QButtonGroup* shippingGroup_;
    QButtonGroup* escrowGroup_;
    QButtonGroup* offerGroup_;

    std::string shippingpay_;
    std::string status_;
    std::string shipping_;
    std::string escrow_;
    std::string paymentMethods_;
    std::string readableMethods_;
    std::string card_;
    int pasteTarget_ = 0;  // the id of the box the paste command fills; 0: none
    bool initialUpdateDone_ = false;
};

}  // namespace tl
