#pragma once
// Builds a panel from layout XML through the program's control classes and attaches it
// to a paint manager without a window, as a device page does.

#include <gtest/gtest.h>

#include <memory>

#include "duilib/dialog_builder.h"
#include "duilib/paint_manager.h"
#include "pages/page_controls.h"

class PageControlCallback : public DuiLib::IDialogBuilderCallback {
  public:
    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override {
        return CreatePageControl(pstrClass);
    }
};

template <class Panel>
class BuiltPanel {
  public:
    explicit BuiltPanel(const wchar_t* xml) {
        DuiLib::CDialogBuilder builder;
        PageControlCallback callback;
        DuiLib::CControlUI* root =
            builder.Create(DuiLib::CDuiString(xml), nullptr, &callback, &manager_);
        panel_ = dynamic_cast<Panel*>(root);
        EXPECT_NE(panel_, nullptr) << builder.GetLastErrorMessage().ToUtf8();
        if (root != nullptr) {
            manager_.AttachDialog(root);
        }
    }
    Panel* operator->() const { return panel_; }
    Panel* get() const { return panel_; }
    DuiLib::CPaintManagerUI& manager() { return manager_; }

    template <class T>
    T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(manager_.FindSubControlByName(panel_, name));
    }

  private:
    DuiLib::CPaintManagerUI manager_;
    Panel* panel_ = nullptr;
};
