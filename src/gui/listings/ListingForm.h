#pragma once

#include <QClipboard>

#include <string>
#include <vector>

#include "gui/widgets/FormPane.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;

namespace tl {

struct ListingValues;

// What tells the new-listing form and the edit-listing form apart in their controls.
struct ListingFormLayout {
    int templateId;
    int descriptionId;
    int quantityLimit;
    int selectCategory2Id;
    int clearCategory2Id;  // 0: no Clear button beside category 2
    int escrowNoneId;
    const char* category1Label;
    const char* category2Label;
    const char* shipUsCaption;
    const char* makeOfferCaption;
    const char* attachCaption;
    const char* removeCaption;
    bool filteredPrice;  // the price box drops letters and symbols as they are typed
};

// The fields and choices that describe a listing, shared by the new-listing and the
// edit-listing form: title, zip code, description, price with its Make Offer and Free choices,
// quantity, two categories, web link, photos, kind, shipping, escrow, payment methods and the
// business card. The forms add their own buttons below.
class ListingForm : public FormPane {
    Q_OBJECT
public:
    // Puts at most 249 characters of the clipboard's text into the title or description box,
    // whichever last had the focus, and forgets that box.
    void onPaste();

protected:
    ListingForm(const ListingFormLayout& layout, QWidget* parent);

    // Places the form's own buttons below the fields and choices.
    void setButtons(QWidget* buttons);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QRadioButton* radio(QButtonGroup* group, int id, const char* caption, std::string* value,
                        const char* chosen);
    static void check(QButtonGroup* group, int id);
    // Unchecks every radio of an exclusive group, which the group alone would not allow.
    static void uncheckAll(QButtonGroup* group);
    // Checks the radio that stands for value. A value no radio stands for is no choice and is
    // emptied; an empty value checks whenEmpty, the radio it is sent as, or none (0).
    static void showChoice(QButtonGroup* group, std::string& value, int whenEmpty);

    // Rebuilds the payment-method codes and their readable text from the ticked boxes.
    void readPaymentBoxes();
    // Ticks exactly the boxes of the methods in the code string.
    void showPaymentMethods(const std::string& codes);
    // The choices still empty get the ones a listing is sent with: Buyer, Selling and US.
    void fillEmptyChoices();

    // The typed values of the form and the choices it holds.
    ListingValues formValues() const;
    // Checks the required fields (naming a missing escrow under escrowCaption) and the title's
    // words, telling the member what is wrong; then completes the values with the choices as
    // they are sent, the card when its box is ticked and the web link with its scheme.
    bool checkAndComplete(ListingValues& values, const char* escrowCaption);
    // Shows a stored listing's texts. A text longer than its box takes is shown whole, its box
    // taking that much until the next listing is shown: a stored listing is never cut.
    void showStoredTexts(const ListingValues& values);

    // The photo list holds the paths of photos the member added and, on the edit form, the
    // entries the stored listing came with.
    void addStoredEntry(const std::string& entry);
    std::vector<std::string> addedPhotos() const;
    std::vector<std::string> storedEntries() const;

    // Shows a listing file, kept scrambled at rest, in the web pane.
    static void showListing(const std::string& path);

    QLineEdit* title_;
    QLineEdit* zipcode_;
    QListWidget* photos_;
    QPlainTextEdit* description_;
    QLineEdit* price_;
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

private:
    QWidget* buildFields(const ListingFormLayout& layout);
    QWidget* buildChoices(const ListingFormLayout& layout);

    void onAttachPhotos();
    void onRemoveAttach();
    void onSelectCategory(QLineEdit* category);
    // The paste of the title or description box (target), whichever way the member pastes.
    void pasteInto(QWidget* target, QClipboard::Mode mode);
    void pasteFrom(QClipboard::Mode mode);

    QGridLayout* columns_;
    int quantityLimit_;
    QWidget* pasteTarget_ = nullptr;  // the box the paste command fills
};

}  // namespace tl
