#pragma once
// "word.application": an in-process document server that hands documents to
// the desktop's default application.
//
// Object paths served:
//   Application: Visible, Documents
//   Documents:   Open(path, ...), Count
//   Document:    FullName

#include "platform/automation/comobj.h"

class TWordApplication : public TAutoDispatch {
public:
    TWordApplication();
    // The documents opened through this instance, in order.
    const std::vector<String>& Opened() const { return opened_; }

private:
    Variant Open(const String& path);

    bool visible_ = false;
    std::vector<String> opened_;
};

class TWordServer : public TOleServer {
protected:
    DispatchPtr NewInstance() override;
};
