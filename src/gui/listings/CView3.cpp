#include "gui/listings/CView3.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

#include <limits>

#include "core/listings/CProductXml.h"
#include "core/listings/PaymentMethods.h"
#include "core/listings/RememberedDefaults.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/listings/PasteRoute.h"
#include "gui/reflists/CCategoryDlg.h"
#include "gui/widgets/CPriceEdit.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"

namespace tl {
namespace {

constexpr int kTitleLimit = 100;
constexpr int kZipcodeLimit = 50;
constexpr int kDescriptionLimit = 1024;
constexpr int kPriceLimit = 50;
constexpr int kQuantityLimit = 10;
// The category picker hands back a category's name, or its parent's name, "; " and its name.
// The names are element names of the category file, which have no length limit, so the
// category boxes keep any result whole.
constexpr int kCategoryLimit = std::numeric_limits<int>::max();
constexpr int kHyperlinkLimit = 250;
constexpr int kPasteLimit = 249;

QLineEdit* lineEdit(QWidget* parent, int id, int limit) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setMaxLength(limit);
    return edit;
}

// A multi-line box has no length limit of its own: text beyond the limit is cut off.
void limitText(QPlainTextEdit* edit, int limit) {
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
        const QString text = edit->toPlainText();
        if (text.size() <= limit) return;
        edit->setPlainText(text.left(limit));
        edit->moveCursor(QTextCursor::End);
    });
}

// Unchecks every radio of an exclusive group, which the group alone would not allow.
void uncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

void check(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

// The value a choice radio stands for.
constexpr char kChoiceValue[] = "choiceValue";

// Checks the radio that stands for value. A value no radio stands for is no choice and is
// emptied; an empty value checks whenEmpty, the radio Add sends it as, or none when Add sends
// no default for it.
void showChoice(QButtonGroup* group, std::string& value, int whenEmpty) {
    for (QAbstractButton* button : group->buttons()) {
        if (button->property(kChoiceValue).toString().toStdString() != value) continue;
        button->setChecked(true);
        return;
    }
    value.clear();
    if (whenEmpty)
        check(group, whenEmpty);
    else
        uncheckAll(group);
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CView3::CView3(QWidget* parent) : FormPane(res::IDD_VIEW3, parent, Qt::white) {
    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QPalette white = content->palette();
    white.setColor(QPalette::Window, Qt::white);
    content->setPalette(white);

    auto* columns = new QGridLayout(content);
    columns->addWidget(buildFields(), 0, 0);
    columns->addWidget(buildChoices(), 0, 1);
    columns->addWidget(buildButtons(), 1, 0, 1, 2);
    columns->setColumnStretch(0, 3);
    columns->setColumnStretch(1, 2);
    columns->setRowStretch(2, 1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    // The paste command of the Edit menu, for the title and description boxes.
    auto* paste = new QAction(this);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(paste, &QAction::triggered, this, &CView3::onPaste);
    addAction(paste);
}

QWidget* CView3::buildFields() {
    auto* fields = new QWidget;
    auto* grid = new QGridLayout(fields);
    grid->setColumnStretch(1, 1);  // the fields take the width the labels and buttons leave
    int row = 0;
    auto addRow = [&](const char* label, QWidget* field, QWidget* beside = nullptr) {
        grid->addWidget(new QLabel(label), row, 0, Qt::AlignTop);
        grid->addWidget(field, row, 1, 1, beside ? 1 : 2);
        if (beside) grid->addWidget(beside, row, 2, Qt::AlignTop);
        ++row;
    };
    const QLabel* attachPicture =
        hiddenBitmap(fields, res::IDC_ITEM_ATTACH_BITMAP, res::IDB_ITEM_ATTACH);
    const QLabel* removePicture =
        hiddenBitmap(fields, res::IDC_ITEM_REMOVE_BITMAP, res::IDB_ITEM_REMOVE);
    const QLabel* selectPicture =
        hiddenBitmap(fields, res::IDC_ITEM_SELECT_BITMAP, res::IDB_ITEM_SELECT);

    title_ = lineEdit(fields, res::IDC_ITEM_TITLE, kTitleLimit);
    title_->installEventFilter(this);
    routePastes(title_, [this](QClipboard::Mode mode) { pasteInto(res::IDC_ITEM_TITLE, mode); });
    addRow("Item Title", title_);
    zipcode_ = lineEdit(fields, res::IDC_ITEM_ZIPCODE, kZipcodeLimit);
    addRow("Item Zip Code", zipcode_);

    description_ = new QPlainTextEdit(fields);
    setControlId(description_, res::IDC_ITEM_DESCRIPTION);
    limitText(description_, kDescriptionLimit);
    description_->setMaximumHeight(160);
    description_->installEventFilter(this);
    routePastes(description_,
                [this](QClipboard::Mode mode) { pasteInto(res::IDC_ITEM_DESCRIPTION, mode); });
    addRow("Item Description", description_);

    auto* priceRow = new QWidget(fields);
    auto* priceLine = new QHBoxLayout(priceRow);
    priceLine->setContentsMargins(0, 0, 0, 0);
    price_ = new CPriceEdit(priceRow);
    setControlId(price_, res::IDC_ITEM_PRICE);
    price_->setMaxLength(kPriceLimit);
    priceLine->addWidget(price_);
    offerGroup_ = new QButtonGroup(this);
    for (const auto& [id, caption] : {std::pair{res::IDC_ITEM_MAKE_OFFER, "Make Offer"},
                                      std::pair{res::IDC_ITEM_FREE, "Free"}}) {
        auto* choice = new QRadioButton(caption, priceRow);
        setControlId(choice, id);
        offerGroup_->addButton(choice, id);
        priceLine->addWidget(choice);
        connect(choice, &QRadioButton::clicked, this, [this, caption] { onOfferOrFree(caption); });
    }
    priceLine->addStretch();
    // Only the member's typing unchecks the choices, not the form writing a price of its own.
    connect(price_, &QLineEdit::textEdited, this, [this] { uncheckAll(offerGroup_); });
    addRow("Price", priceRow);
    grid->addWidget(new QLabel("(Price in from 5.99  Or 5.00)"), row++, 1, 1, 2);

    quantity_ = lineEdit(fields, res::IDC_ITEM_QUANTITY, kQuantityLimit);
    addRow("Qty", quantity_);

    auto categoryRow = [&](QLineEdit*& category, int editId, int selectId, const char* label) {
        category = lineEdit(fields, editId, kCategoryLimit);
        category->setReadOnly(true);
        QPushButton* select = pictureButton(fields, selectId, "Select", selectPicture);
        QLineEdit* target = category;
        connect(select, &QPushButton::clicked, this, [this, target] { onSelectCategory(target); });
        addRow(label, category, select);
    };
    categoryRow(category1_, res::IDC_ITEM_CATEGORY1, res::IDC_ITEM_SELECT_CATEGORY1, "Category");
    categoryRow(category2_, res::IDC_ITEM_CATEGORY2, res::IDC_ITEM_SELECT_CATEGORY2,
                "Category 2 (Optional)");

    hyperlink_ = lineEdit(fields, res::IDC_ITEM_HYPERLINK, kHyperlinkLimit);
    addRow("Link this item to a Web Site", hyperlink_);

    photos_ = new QListWidget(fields);
    setControlId(photos_, res::IDC_ITEM_ATTACHMENTS);
    photos_->setMaximumHeight(90);
    auto* photoButtons = new QWidget(fields);
    auto* photoColumn = new QVBoxLayout(photoButtons);
    photoColumn->setContentsMargins(0, 0, 0, 0);
    QPushButton* attach =
        pictureButton(photoButtons, res::IDC_ITEM_ATTACH, "Attach Photos", attachPicture);
    QPushButton* remove =
        pictureButton(photoButtons, res::IDC_ITEM_REMOVE_ATTACH, "Remove Attach", removePicture);
    photoColumn->addWidget(attach);
    photoColumn->addWidget(remove);
    photoColumn->addStretch();
    connect(attach, &QPushButton::clicked, this, &CView3::onAttachPhotos);
    connect(remove, &QPushButton::clicked, this, &CView3::onRemoveAttach);
    addRow("Attached Photo(s)", photos_, photoButtons);
    grid->setRowStretch(row, 1);  // spare height goes below the fields, not between them
    return fields;
}

QRadioButton* CView3::radio(QButtonGroup* group, int id, const char* caption, std::string* value,
                            const char* chosen) {
    auto* button = new QRadioButton(caption);
    setControlId(button, id);
    group->addButton(button, id);
    button->setProperty(kChoiceValue, chosen);
    connect(button, &QRadioButton::clicked, this, [value, chosen] { *value = chosen; });
    return button;
}

QWidget* CView3::buildChoices() {
    auto* choices = new QWidget;
    auto* column = new QVBoxLayout(choices);
    auto box = [&](const char* caption, std::initializer_list<QWidget*> members) {
        auto* group = new QGroupBox(caption, choices);
        auto* inside = new QVBoxLayout(group);
        for (QWidget* member : members) inside->addWidget(member);
        column->addWidget(group);
    };
    statusGroup_ = new QButtonGroup(this);
    box("This item is : ",
        {radio(statusGroup_, res::IDC_ITEM_FORSALE, "For Sale", &status_, "Selling"),
         radio(statusGroup_, res::IDC_ITEM_WANTED, "Wanted", &status_, "Buying")});
    shippayGroup_ = new QButtonGroup(this);
    box("Shipping Paid By",
        {radio(shippayGroup_, res::IDC_ITEM_BUYER_PAYS, "Buyer", &shippingpay_, "Buyer"),
         radio(shippayGroup_, res::IDC_ITEM_SELLER_PAYS, "Seller", &shippingpay_, "Seller")});
    shippingGroup_ = new QButtonGroup(this);
    box("Shipping To:", {radio(shippingGroup_, res::IDC_ITEM_SHIP_US,
                               "Will ship to United States only", &shipping_, "US"),
                         radio(shippingGroup_, res::IDC_ITEM_SHIP_WORLD,
                               "Will ship internationally (worldwide)", &shipping_, "WORLD")});
    escrowGroup_ = new QButtonGroup(this);
    box("Escrow", {radio(escrowGroup_, res::IDC_ITEM_ESCROW_B, "Escrow B", &escrow_, "Option B"),
                   radio(escrowGroup_, res::IDC_ITEM_ESCROW_C, "Escrow C", &escrow_, "Option C"),
                   radio(escrowGroup_, res::IDC_ITEM_ESCROW_NONE, "none", &escrow_, "none")});

    auto* payment = new QGroupBox("Payment Methods", choices);
    auto* paymentColumn = new QVBoxLayout(payment);
    for (const PaymentMethod& method : kPaymentMethods) {
        auto* tick = new QCheckBox(method.label, payment);
        setControlId(tick, method.controlId);
        connect(tick, &QCheckBox::clicked, this, &CView3::readPaymentBoxes);
        paymentColumn->addWidget(tick);
        paymentBoxes_.push_back(tick);
    }
    column->addWidget(payment);

    cardBox_ = new QCheckBox("I would like to attach my Business Card/Logo", choices);
    setControlId(cardBox_, res::IDC_ITEM_CARD);
    column->addWidget(cardBox_);
    column->addStretch();
    return choices;
}

QWidget* CView3::buildButtons() {
    auto* buttons = new QWidget;
    auto* line = new QHBoxLayout(buttons);
    const QLabel* addPicture = hiddenBitmap(buttons, res::IDC_ITEM_ADD_BITMAP, res::IDB_ITEM_ADD);
    QPushButton* add = pictureButton(buttons, res::IDC_ITEM_ADD, "Add Item", addPicture);
    connect(add, &QPushButton::clicked, this, &CView3::Add);
    line->addStretch();
    line->addWidget(add);
    // The template's own Add, Preview and Clear stay hidden: the pane beside the form has them.
    for (const auto& [id, caption] :
         {std::pair{res::ID_ITEM_ADD, "Add"}, std::pair{res::ID_ITEM_PREVIEW, "Preview"},
          std::pair{res::ID_ITEM_CLEAR, "Clear"}}) {
        auto* hidden = new QPushButton(caption, buttons);
        setControlId(hidden, id);
        hidden->hide();
    }
    return buttons;
}

void CView3::showEvent(QShowEvent* event) {
    FormPane::showEvent(event);
    if (!initialUpdateDone_) OnInitialUpdate();
}

bool CView3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == title_) pasteTarget_ = res::IDC_ITEM_TITLE;
        if (watched == description_) pasteTarget_ = res::IDC_ITEM_DESCRIPTION;
    }
    return FormPane::eventFilter(watched, event);
}

void CView3::OnInitialUpdate() {
    initialUpdateDone_ = true;
    check(statusGroup_, res::IDC_ITEM_FORSALE);
    check(shippayGroup_, res::IDC_ITEM_BUYER_PAYS);
    check(shippingGroup_, res::IDC_ITEM_SHIP_US);
    check(escrowGroup_, res::IDC_ITEM_ESCROW_NONE);
    escrow_ = "none";

    const std::optional<RememberedDefaults> remembered =
        LoadRememberedDefaults(session().currentUserName);
    if (!remembered) return;
    card_ = remembered->card;
    shipping_ = remembered->shipping;
    shippingpay_ = remembered->shippingpay;
    escrow_ = remembered->escrow;
    hyperlink_->setText(qs(remembered->hyperlink));
    paymentMethods_ = remembered->paymentmethods;

    // The radios show what Add sends: Buyer and US for an empty choice, and no escrow (Add
    // asks for one).
    showChoice(shippayGroup_, shippingpay_, res::IDC_ITEM_BUYER_PAYS);
    showChoice(escrowGroup_, escrow_, 0);
    for (std::size_t at = 0; at < kPaymentMethods.size(); ++at)
        paymentBoxes_[at]->setChecked(acceptsPaymentMethod(paymentMethods_, kPaymentMethods[at]));
    showChoice(shippingGroup_, shipping_, res::IDC_ITEM_SHIP_US);
    cardBox_->setChecked(!card_.empty());
}

void CView3::onOfferOrFree(const char* price) {
    price_->setText(price);
}

void CView3::readPaymentBoxes() {
    paymentMethods_.clear();
    for (std::size_t at = 0; at < kPaymentMethods.size(); ++at)
        if (paymentBoxes_[at]->isChecked()) paymentMethods_ += kPaymentMethods[at].code;
    readableMethods_ = ReadableMethods(paymentMethods_);
}

void CView3::onAttachPhotos() {
    const std::string path = ui().openFileName();
    if (!path.empty()) photos_->addItem(qs(path));
}

void CView3::onRemoveAttach() {
    delete photos_->takeItem(photos_->currentRow());
}

void CView3::onSelectCategory(QLineEdit* category) {
    CCategoryDlg picker(this);
    if (ui().runModal(picker) == kDialogOk) category->setText(qs(picker.chosenCategory()));
}

void CView3::onPaste() {
    pasteFrom(QClipboard::Clipboard);
}

void CView3::pasteInto(int target, QClipboard::Mode mode) {
    pasteTarget_ = target;
    pasteFrom(mode);
}

void CView3::pasteFrom(QClipboard::Mode mode) {
    QLineEdit* title = pasteTarget_ == res::IDC_ITEM_TITLE ? title_ : nullptr;
    QPlainTextEdit* description =
        pasteTarget_ == res::IDC_ITEM_DESCRIPTION ? description_ : nullptr;
    pasteTarget_ = 0;
    const QString pasted = QApplication::clipboard()->text(mode).left(kPasteLimit);
    if (title) title->setText(pasted);
    if (description) description->setPlainText(pasted);
}

void CView3::clearItem() {
    category1_->clear();
    category2_->clear();
    title_->clear();
    quantity_->clear();
    zipcode_->clear();
    description_->clear();
    price_->clear();
    uncheckAll(offerGroup_);
    photos_->clear();
    // An empty kind goes out as "Selling", so For Sale is what the radios show.
    status_.clear();
    check(statusGroup_, res::IDC_ITEM_FORSALE);
}

void CView3::Clear() {
    check(shippayGroup_, res::IDC_ITEM_BUYER_PAYS);
    check(shippingGroup_, res::IDC_ITEM_SHIP_US);
    for (QCheckBox* box : paymentBoxes_) box->setChecked(false);
    cardBox_->setChecked(false);
    clearItem();
    hyperlink_->clear();
    shipping_.clear();
    shippingpay_.clear();
    paymentMethods_.clear();
    card_.clear();
}

}  // namespace tl
