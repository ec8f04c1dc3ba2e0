#pragma once

#include <string>

#include "gui/widgets/FormPane.h"

class QTreeWidgetItem;

namespace tl {

class ResultList;

// The results of a quick search. It runs the search the search bar left pending each time it
// becomes visible, and writes the chosen row's values into the session for the buttons beside
// it.
class CQSearch : public FormPane {
    Q_OBJECT
public:
    explicit CQSearch(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

    // Replaces the list with the results for the criteria and status.
    void RunSearch();
    // Adds the chosen row to the member's favourites, once its listing has been downloaded.
    void AddFavorite();
    // Downloads the chosen row's listing and shows it.
    void ViewSelected();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void trackSelection(const QTreeWidgetItem* row);
    void trackChosenRow();
    // Downloads and shows the row's listing, asking first when it is large.
    void openResult(const QTreeWidgetItem* row);

    ResultList* list_;
    std::string criteria_;
    std::string status_;
    int online_ = 0;  // 1 while the chosen row's poster is online
};

}  // namespace tl
