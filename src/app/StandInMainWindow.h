#pragma once

#include <QMainWindow>

namespace tl {

// The main window until the pane frame takes its place: building it runs the session start,
// and destroying it sends the log-off.
class StandInMainWindow : public QMainWindow {
    Q_OBJECT
public:
    StandInMainWindow();
    ~StandInMainWindow() override;
};

}  // namespace tl
