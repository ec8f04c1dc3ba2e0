#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <initializer_list>

namespace tl {

// A pane of the main frame built on a dialog template: it carries the template id and, when
// it has a colour of its own, fills its background with it. Texts of its statics and buttons
// are drawn on a transparent background.
class FormPane : public QWidget {
    Q_OBJECT
public:
    FormPane(int templateId, QWidget* parent, QColor background = QColor());

    // One button of a button pane: its control id and caption, the hidden picture control that
    // holds its bitmap (0 when it has none), the bitmap, and what it does.
    struct Button {
        int id;
        const char* caption;
        int pictureId;
        int bitmap;
        std::function<void()> run;
    };

protected:
    void paintEvent(QPaintEvent* event) override;
    // Lays the buttons out in a column from the top, as the panes beside the work area do.
    void addButtonColumn(std::initializer_list<Button> buttons);

private:
    QColor background_;
};

// The colour of the frame's purple panes (logo and print panel).
inline const QColor kPanePurple(144, 30, 120);

}  // namespace tl
