#pragma once

#include <QWidget>
#include <string>

namespace tl {

class CExplorer1;

// A free-standing "Message Center" window showing one server page (the compose form of an
// offer). It has no owner, lives until the member closes it, and any number may be open.
class CMessageCenterDlg : public QWidget {
    Q_OBJECT
public:
    explicit CMessageCenterDlg(std::string address);

    const std::string& address() const { return address_; }
    CExplorer1& explorer() const { return *explorer_; }

    // Makes a window for the address and shows it; it deletes itself when closed.
    static CMessageCenterDlg* open(const std::string& address);
    // Opens the compose page of a message from the member to the poster about the item, with
    // the title of the item the member acts on.
    static CMessageCenterDlg* openCompose(const std::string& poster, const std::string& productId);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string address_;
    CExplorer1* explorer_;
    bool navigated_ = false;
};

}  // namespace tl
