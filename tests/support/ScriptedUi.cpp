#include "support/ScriptedUi.h"

namespace tl {

ScriptedUi::ScriptedUi() {
    setUi(this);
}

ScriptedUi::~ScriptedUi() {
    setUi(nullptr);
}

MessageResult ScriptedUi::messageBox(const std::string& caption, const std::string& text,
                                     MessageButtons buttons, MessageIcon icon) {
    if (watcher_) watcher_({caption, text});
    std::lock_guard lock(mutex_);
    boxes_.emplace_back(caption, text);
    icons_.push_back(icon);
    if (buttons == MessageButtons::Ok) return MessageResult::Ok;
    if (answers_.empty()) {
        ++unscripted_;
        return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel;
    }
    const MessageResult result = answers_.front();
    answers_.pop_front();
    return result;
}

std::string ScriptedUi::openFileName() {
    std::lock_guard lock(mutex_);
    if (files_.empty()) return {};
    std::string path = std::move(files_.front());
    files_.pop_front();
    return path;
}

int ScriptedUi::runModal(ModalDialog& dialog) {
    ModalHandler handler;
    {
        std::lock_guard lock(mutex_);
        if (modals_.empty()) return kDialogCancel;
        handler = std::move(modals_.front());
        modals_.pop_front();
    }
    return handler(dialog);
}

void ScriptedUi::answer(MessageResult result) {
    std::lock_guard lock(mutex_);
    answers_.push_back(result);
}

void ScriptedUi::chooseFile(std::string path) {
    std::lock_guard lock(mutex_);
    files_.push_back(std::move(path));
}

void ScriptedUi::onEveryBox(BoxWatcher watcher) {
    watcher_ = std::move(watcher);
}

void ScriptedUi::onModal(ModalHandler handler) {
    std::lock_guard lock(mutex_);
    modals_.push_back(std::move(handler));
}

std::vector<ScriptedUi::Box> ScriptedUi::boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<MessageIcon> ScriptedUi::icons() const {
    std::lock_guard lock(mutex_);
    return icons_;
}

int ScriptedUi::unscriptedQuestions() const {
    std::lock_guard lock(mutex_);
    return unscripted_;
}

void ScriptedUi::clear() {
    std::lock_guard lock(mutex_);
    boxes_.clear();
    icons_.clear();
}

}  // namespace tl
