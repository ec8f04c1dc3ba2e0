#pragma once

#include "gui/widgets/FormPane.h"

class QTreeWidgetItem;

namespace tl {

class ResultList;
struct ResultRecord;

// The member's favourites, read from the server each time the view is shown. A double-click
// shows the copy downloaded when the favourite was added.
class CViewFavs : public FormPane {
    Q_OBJECT
public:
    explicit CViewFavs(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

    // Replaces the list with the member's favourites.
    void reload();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFavorite(const ResultRecord& record);
    void trackClick(const QTreeWidgetItem* row);
    void trackChosenRow();
    void openFavorite(const QTreeWidgetItem* row);

    ResultList* list_;
};

}  // namespace tl
