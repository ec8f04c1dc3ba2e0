#pragma once

#include <QColor>
#include <QWidget>

namespace tl {

// A pane of the main frame built on a dialog template: it carries the template id and, when
// it has a colour of its own, fills its background with it. Texts of its statics and buttons
// are drawn on a transparent background.
class FormPane : public QWidget {
    Q_OBJECT
public:
    FormPane(int templateId, QWidget* parent, QColor background = QColor());

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
};

// The colour of the frame's purple panes (logo and print panel).
inline const QColor kPanePurple(144, 30, 120);

}  // namespace tl
