#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/Ui.h"

namespace tl {

// The Ui seam for tests: records every box as (caption, text), answers questions, file
// dialogs and modal runs from scripted queues, and installs itself for its lifetime.
class ScriptedUi : public Ui {
public:
    using Box = std::pair<std::string, std::string>;
    using ModalHandler = std::function<int(ModalDialog&)>;
    using BoxWatcher = std::function<void(const Box&)>;

    ScriptedUi();
    ~ScriptedUi() override;

    MessageResult messageBox(const std::string& caption, const std::string& text,
                             MessageButtons buttons, MessageIcon icon) override;
    std::string openFileName() override;
    int runModal(ModalDialog& dialog) override;

    // Answers for Yes/No and OK/Cancel boxes, in order. An unscripted question is answered
    // No (or Cancel) and counted in unscriptedQuestions().
    void answer(MessageResult result);
    void chooseFile(std::string path);
    // Handlers for modal runs, in order; an unscripted modal run ends with cancel.
    void onModal(ModalHandler handler);
    // Called with every box as it is shown, to look at the world at that moment.
    void onEveryBox(BoxWatcher watcher);

    std::vector<Box> boxes() const;
    std::vector<MessageIcon> icons() const;
    int unscriptedQuestions() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    std::vector<MessageIcon> icons_;
    std::deque<MessageResult> answers_;
    std::deque<std::string> files_;
    std::deque<ModalHandler> modals_;
    BoxWatcher watcher_;
    int unscripted_ = 0;
};

}  // namespace tl
