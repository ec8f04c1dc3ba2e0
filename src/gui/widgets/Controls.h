#pragma once

#include <QPixmap>
#include <QWidget>

#include "core/platform/NonCopyable.h"

class QLabel;
class QPushButton;

namespace tl {

// Every control and form carries its numeric id, so code and tests find it the way the
// member sees it. A control's object name is "ctl_<id>", a form's "dlg_<template id>".
void setControlId(QWidget* control, int id);
void setTemplateId(QWidget* form, int templateId);
int controlId(const QWidget* control);  // 0 when the widget has none
// A push button with its control id.
QPushButton* idButton(QWidget* parent, int id, const QString& text);

template <class T = QWidget>
T* findControl(const QWidget* root, int id) {
    return root->findChild<T*>(QStringLiteral("ctl_%1").arg(id));
}

// A bitmap resource by its number.
QPixmap bitmapResource(int id);

// Shows the wait cursor for the life of the object, while the program works on the
// user-interface thread.
class WaitCursor : NonCopyable {
public:
    WaitCursor();
    ~WaitCursor();
};

// A hidden picture control holding a bitmap, the way forms keep the artwork of their buttons.
QLabel* hiddenBitmap(QWidget* parent, int controlId, int bitmapId);
// A button showing the picture of such a control.
QPushButton* pictureButton(QWidget* parent, int id, const QString& text, const QLabel* source);

}  // namespace tl
