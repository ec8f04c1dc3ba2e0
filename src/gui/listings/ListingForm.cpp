#include "gui/listings/ListingForm.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingChecks.h"
#include "core/listings/PaymentMethods.h"
#include "core/listings/PhotoFiles.h"
#include "core/platform/Ui.h"
#include "core/service/MarketContract.h"
#include "core/session/Session.h"
#include "gui/listings/PasteRoute.h"
#include "gui/reflists/CCategoryDlg.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/CPriceEdit.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"

namespace tl {
namespace {

constexpr int kTitleLimit = 100;
constexpr int kZipcodeLimit = 50;
constexpr int kDescriptionLimit = 1024;
constexpr int kPriceLimit = 50;
// The category picker hands back a category's name, or its parent's name, "; " and its name.
// The names are element names of the category file, which have no length limit, so the
// category boxes keep any result whole.
constexpr int kCategoryLimit = std::numeric_limits<int>::max();
constexpr int kHyperlinkLimit = 250;
constexpr int kPasteLimit = 249;

// The value a choice radio stands for.
constexpr char kChoiceValue[] = "choiceValue";
// The longest text a multi-line box keeps.
constexpr char kTextLimit[] = "textLimit";
// Marks a photo list entry that came with the stored listing.
constexpr int kStoredEntryRole = Qt::UserRole;
// The full path of a photo the member added; the list shows its file name.
constexpr int kPhotoPathRole = Qt::UserRole + 1;

QLineEdit* lineEdit(QWidget* parent, int id, int limit) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setMaxLength(limit);
    return edit;
}

// A multi-line box has no length limit of its own: text beyond the limit is cut off.
void limitText(QPlainTextEdit* edit, int limit) {
    edit->setProperty(kTextLimit, limit);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const int most = edit->property(kTextLimit).toInt();
        const QString text = edit->toPlainText();
        if (text.size() <= most) return;
        edit->setPlainText(text.left(most));
        edit->moveCursor(QTextCursor::End);
    });
}

void showWhole(QLineEdit* box, const std::string& text, int limit) {
    const QString shown = QString::fromStdString(text);
    box->setMaxLength(static_cast<int>(std::max<qsizetype>(limit, shown.size())));
    box->setText(shown);
}

void showWhole(QPlainTextEdit* box, const std::string& text, int limit) {
    const QString shown = QString::fromStdString(text);
    box->setProperty(kTextLimit, static_cast<int>(std::max<qsizetype>(limit, shown.size())));
    box->setPlainText(shown);
}

void setDefault(std::string& value, const char* whenEmpty) {
    if (value.empty()) value = whenEmpty;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ListingForm::ListingForm(const ListingFormLayout& layout, QWidget* parent)
    : FormPane(layout.templateId, parent, Qt::white), quantityLimit_(layout.quantityLimit) {
    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QPalette white = content->palette();
    white.setColor(QPalette::Window, Qt::white);
    content->setPalette(white);

    columns_ = new QGridLayout(content);
    columns_->addWidget(buildFields(layout), 0, 0);
    columns_->addWidget(buildChoices(layout), 0, 1);
    columns_->setColumnStretch(0, 3);
    columns_->setColumnStretch(1, 2);
    columns_->setRowStretch(2, 1);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // The paste command of the Edit menu, for the title and description boxes.
    auto* paste = new QAction(this);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(paste, &QAction::triggered, this, &ListingForm::onPaste);
    addAction(paste);
}

void ListingForm::setButtons(QWidget* buttons) {
    columns_->addWidget(buttons, 1, 0, 1, 2);
}

QWidget* ListingForm::buildFields(const ListingFormLayout& layout) {
    auto* fields = new QWidget;
    auto* grid = new QGridLayout(fields);
    grid->setColumnStretch(1, 1);  // the fields take the width the labels and buttons leave
    int row = 0;
    // A field's buttons go on a line of their own under it, so the field keeps the whole width
    // for a long category or photo name.
    auto addRow = [&](const char* label, QWidget* field, QWidget* under = nullptr) {
        auto* caption = new QLabel(label);
        caption->setWordWrap(true);  // a long caption takes two lines rather than the width
        grid->addWidget(caption, row, 0, Qt::AlignTop);
        grid->addWidget(field, row++, 1, 1, 2);
        if (under) grid->addWidget(under, row++, 1, 1, 2);
    };
    auto buttonLine = [&](std::initializer_list<QPushButton*> buttons) {
        auto* line = new QWidget(fields);
        auto* inside = new QHBoxLayout(line);
        inside->setContentsMargins(0, 0, 0, 0);
        inside->addStretch();
        for (QPushButton* button : buttons) {
            button->setParent(line);
            inside->addWidget(button);
        }
        return line;
    };
    const QLabel* attachPicture =
        hiddenBitmap(fields, res::IDC_ITEM_ATTACH_BITMAP, res::IDB_ITEM_ATTACH);
    const QLabel* removePicture =
        hiddenBitmap(fields, res::IDC_ITEM_REMOVE_BITMAP, res::IDB_ITEM_REMOVE);
    const QLabel* selectPicture =
        hiddenBitmap(fields, res::IDC_ITEM_SELECT_BITMAP, res::IDB_ITEM_SELECT);

    title_ = lineEdit(fields, res::IDC_ITEM_TITLE, kTitleLimit);
    title_->installEventFilter(this);
    routePastes(title_, [this](QClipboard::Mode mode) { pasteInto(title_, mode); });
    addRow("Item Title", title_);
    zipcode_ = lineEdit(fields, res::IDC_ITEM_ZIPCODE, kZipcodeLimit);
    addRow("Item Zip Code", zipcode_);

    description_ = new QPlainTextEdit(fields);
    setControlId(description_, layout.descriptionId);
    limitText(description_, kDescriptionLimit);
    description_->setMaximumHeight(160);
    description_->installEventFilter(this);
    routePastes(description_, [this](QClipboard::Mode mode) { pasteInto(description_, mode); });
    addRow("Item Description", description_);

    auto* priceRow = new QWidget(fields);
    auto* priceLine = new QHBoxLayout(priceRow);
    priceLine->setContentsMargins(0, 0, 0, 0);
    price_ = layout.filteredPrice ? new CPriceEdit(priceRow) : new QLineEdit(priceRow);
    setControlId(price_, res::IDC_ITEM_PRICE);
    price_->setMaxLength(kPriceLimit);
    priceLine->addWidget(price_);
    offerGroup_ = new QButtonGroup(this);
    for (const auto& [id, caption, price] :
         {std::tuple{res::IDC_ITEM_MAKE_OFFER, layout.makeOfferCaption, kMakeOffer},
          std::tuple{res::IDC_ITEM_FREE, "Free", kFree}}) {
        auto* choice = new QRadioButton(caption, priceRow);
        setControlId(choice, id);
        offerGroup_->addButton(choice, id);
        priceLine->addWidget(choice);
        connect(choice, &QRadioButton::clicked, this, [this, price] { price_->setText(price); });
    }
    priceLine->addStretch();
    // Only the member's typing unchecks the choices, not the form writing a price of its own.
    connect(price_, &QLineEdit::textEdited, this, [this] { uncheckAll(offerGroup_); });
    addRow("Price", priceRow);
    grid->addWidget(new QLabel("(Price in from 5.99  Or 5.00)"), row++, 1, 1, 2);

    quantity_ = lineEdit(fields, res::IDC_ITEM_QUANTITY, layout.quantityLimit);
    addRow("Qty", quantity_);

    auto categoryRow = [&](QLineEdit*& category, int editId, int selectId, int clearId,
                           const char* label) {
        category = lineEdit(fields, editId, kCategoryLimit);
        category->setReadOnly(true);
        QLineEdit* target = category;
        QPushButton* select = pictureButton(fields, selectId, "Select", selectPicture);
        connect(select, &QPushButton::clicked, this, [this, target] { onSelectCategory(target); });
        if (!clearId) return addRow(label, category, buttonLine({select}));
        QPushButton* clear = idButton(fields, clearId, "Clear");
        connect(clear, &QPushButton::clicked, target, &QLineEdit::clear);
        addRow(label, category, buttonLine({select, clear}));
    };
    categoryRow(category1_, res::IDC_ITEM_CATEGORY1, res::IDC_ITEM_SELECT_CATEGORY1, 0,
                layout.category1Label);
    categoryRow(category2_, res::IDC_ITEM_CATEGORY2, layout.selectCategory2Id,
                layout.clearCategory2Id, layout.category2Label);

    hyperlink_ = lineEdit(fields, res::IDC_ITEM_HYPERLINK, kHyperlinkLimit);
    addRow("Link this item to a Web Site", hyperlink_);

    photos_ = new QListWidget(fields);
    setControlId(photos_, res::IDC_ITEM_ATTACHMENTS);
    photos_->setMaximumHeight(90);
    QPushButton* attach =
        pictureButton(fields, res::IDC_ITEM_ATTACH, layout.attachCaption, attachPicture);
    QPushButton* remove =
        pictureButton(fields, res::IDC_ITEM_REMOVE_ATTACH, layout.removeCaption, removePicture);
    connect(attach, &QPushButton::clicked, this, &ListingForm::onAttachPhotos);
    connect(remove, &QPushButton::clicked, this, &ListingForm::onRemoveAttach);
    addRow("Attached Photo(s)", photos_, buttonLine({attach, remove}));
    grid->setRowStretch(row, 1);  // spare height goes below the fields, not between them
    return fields;
}

QRadioButton* ListingForm::radio(QButtonGroup* group, int id, const char* caption,
                                 std::string* value, const char* chosen) {
    auto* button = new QRadioButton(caption);
    setControlId(button, id);
    group->addButton(button, id);
    button->setProperty(kChoiceValue, chosen);
    connect(button, &QRadioButton::clicked, this, [value, chosen] { *value = chosen; });
    return button;
}

QWidget* ListingForm::buildChoices(const ListingFormLayout& layout) {
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
        {radio(statusGroup_, res::IDC_ITEM_FORSALE, "For Sale", &status_, contract::kSelling),
         radio(statusGroup_, res::IDC_ITEM_WANTED, "Wanted", &status_, contract::kBuying)});
    shippayGroup_ = new QButtonGroup(this);
    box("Shipping Paid By",
        {radio(shippayGroup_, res::IDC_ITEM_BUYER_PAYS, "Buyer", &shippingpay_, "Buyer"),
         radio(shippayGroup_, res::IDC_ITEM_SELLER_PAYS, "Seller", &shippingpay_, "Seller")});
    shippingGroup_ = new QButtonGroup(this);
    box("Shipping To:",
        {radio(shippingGroup_, res::IDC_ITEM_SHIP_US, layout.shipUsCaption, &shipping_, "US"),
         radio(shippingGroup_, res::IDC_ITEM_SHIP_WORLD, "Will ship internationally (worldwide)",
               &shipping_, "WORLD")});
    escrowGroup_ = new QButtonGroup(this);
    box("Escrow", {radio(escrowGroup_, res::IDC_ITEM_ESCROW_B, "Escrow B", &escrow_, "Option B"),
                   radio(escrowGroup_, res::IDC_ITEM_ESCROW_C, "Escrow C", &escrow_, "Option C"),
                   radio(escrowGroup_, layout.escrowNoneId, "none", &escrow_, "none")});

    auto* payment = new QGroupBox("Payment Methods", choices);
    auto* paymentColumn = new QVBoxLayout(payment);
    for (const PaymentMethod& method : kPaymentMethods) {
        auto* tick = new QCheckBox(method.label, payment);
        setControlId(tick, method.controlId);
        connect(tick, &QCheckBox::clicked, this, &ListingForm::readPaymentBoxes);
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

bool ListingForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == title_ || watched == description_))
        pasteTarget_ = static_cast<QWidget*>(watched);
    return FormPane::eventFilter(watched, event);
}

void ListingForm::check(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

void ListingForm::uncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(false);
    group->setExclusive(true);
}

void ListingForm::showChoice(QButtonGroup* group, std::string& value, int whenEmpty) {
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

void ListingForm::readPaymentBoxes() {
    paymentMethods_.clear();
    for (std::size_t at = 0; at < kPaymentMethods.size(); ++at)
        if (paymentBoxes_[at]->isChecked()) paymentMethods_ += kPaymentMethods[at].code;
    readableMethods_ = ReadableMethods(paymentMethods_);
}

void ListingForm::showPaymentMethods(const std::string& codes) {
    for (std::size_t at = 0; at < kPaymentMethods.size(); ++at)
        paymentBoxes_[at]->setChecked(acceptsPaymentMethod(codes, kPaymentMethods[at]));
}

void ListingForm::fillEmptyChoices() {
    setDefault(shippingpay_, "Buyer");
    setDefault(status_, contract::kSelling);
    setDefault(shipping_, "US");
}

ListingValues ListingForm::formValues() const {
    ListingValues v;
    v.title = title_->text().toStdString();
    v.description = description_->toPlainText().toStdString();
    v.quantity = quantity_->text().toStdString();
    v.zipcode = zipcode_->text().toStdString();
    v.price = price_->text().toStdString();
    v.category1 = category1_->text().toStdString();
    v.category2 = category2_->text().toStdString();
    v.hyperlink = hyperlink_->text().toStdString();
    v.shipping = shipping_;
    v.shippingpay = shippingpay_;
    v.status = status_;
    v.paymentmethods = paymentMethods_;
    v.escrow = escrow_;
    v.readablemethods = readableMethods_;
    v.card = card_;
    v.username = session().currentUserName;
    return v;
}

void ListingForm::showStoredTexts(const ListingValues& v) {
    showWhole(title_, v.title, kTitleLimit);
    showWhole(zipcode_, v.zipcode, kZipcodeLimit);
    showWhole(description_, v.description, kDescriptionLimit);
    showWhole(price_, v.price, kPriceLimit);
    showWhole(quantity_, v.quantity, quantityLimit_);
    showWhole(category1_, v.category1, kCategoryLimit);
    showWhole(category2_, v.category2, kCategoryLimit);
    showWhole(hyperlink_, v.hyperlink, kHyperlinkLimit);
}

void ListingForm::addStoredEntry(const std::string& entry) {
    auto* item = new QListWidgetItem(qs(entry), photos_);
    item->setData(kStoredEntryRole, true);
}

std::vector<std::string> ListingForm::addedPhotos() const {
    std::vector<std::string> paths;
    for (int row = 0; row < photos_->count(); ++row)
        if (!photos_->item(row)->data(kStoredEntryRole).toBool())
            paths.push_back(photos_->item(row)->data(kPhotoPathRole).toString().toStdString());
    return paths;
}

std::vector<std::string> ListingForm::storedEntries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < photos_->count(); ++row)
        if (photos_->item(row)->data(kStoredEntryRole).toBool())
            entries.push_back(photos_->item(row)->text().toStdString());
    return entries;
}

void ListingForm::showListing(const std::string& path) {
    session().webAddress = path;
    switchMainView(View::WebPane);
}

void ListingForm::onAttachPhotos() {
    const std::string path = ui().openFileName();
    if (path.empty()) return;
    if (!photoSizeAllowed(path)) {
        ui().messageBox(kPhotoCaption, photoTooLargeText(path));
        return;
    }
    auto* item = new QListWidgetItem(QFileInfo(qs(path)).fileName(), photos_);
    item->setData(kPhotoPathRole, qs(path));
    item->setToolTip(qs(path));
}

void ListingForm::onRemoveAttach() {
    delete photos_->takeItem(photos_->currentRow());
}

void ListingForm::onSelectCategory(QLineEdit* category) {
    CCategoryDlg picker(this);
    if (ui().runModal(picker) == kDialogOk) category->setText(qs(picker.chosenCategory()));
}

void ListingForm::onPaste() {
    pasteFrom(QClipboard::Clipboard);
}

void ListingForm::pasteInto(QWidget* target, QClipboard::Mode mode) {
    pasteTarget_ = target;
    pasteFrom(mode);
}

void ListingForm::pasteFrom(QClipboard::Mode mode) {
    QWidget* target = std::exchange(pasteTarget_, nullptr);
    const QString pasted = QApplication::clipboard()->text(mode).left(kPasteLimit);
    if (target == title_) title_->setText(pasted);
    if (target == description_) description_->setPlainText(pasted);
}

bool ListingForm::checkAndComplete(ListingValues& values, const char* escrowCaption) {
    if (!requiredFieldsGiven(values, escrowCaption)) return false;
    if (!titleAllowed(values.title)) {
        title_->setText("censored");
        ui().messageBox("Error", "This word is not allowed in Title Bar");
        return false;
    }
    fillEmptyChoices();
    card_ = cardBox_->isChecked() ? session().cardFileName : std::string();
    values.shippingpay = shippingpay_;
    values.status = status_;
    values.shipping = shipping_;
    values.card = card_;
    values.hyperlink = linkWithScheme(values.hyperlink);
    return true;
}

}  // namespace tl
