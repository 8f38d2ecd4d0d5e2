// The About box: product icon, title with the product version, and the legal notice, both read
// from the version information of the running program file.
#pragma once
#include "sable/sable_button.h"
#include "sable/sable_dialog.h"
#include "win/handles.h"

class CAboutDlg : public sable::SableDialog {
public:
    explicit CAboutDlg(HWND parent);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;

private:
    sable::SableButton m_btnOK;
    win::UniqueIcon m_icon;  // the product icon at the box's DPI
};
