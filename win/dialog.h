// Dialogs made from a template of the current resource module, run by a modal loop of our own
// so that every window from the focus up to the dialog gets its PreTranslateMessage first.
#pragma once
#include "win/window.h"

namespace win {

class Dialog : public Window {
public:
    // `parent` may be null: the owner is then the innermost running modal dialog, if any.
    Dialog(UINT templateId, HWND parent) noexcept;
    ~Dialog() override;

    // Creates the dialog, disables its owner, runs until EndDialog and returns its result;
    // -1 when the dialog could not be created. Started inside a run that is ending, it returns
    // IDCANCEL at once without a window.
    INT_PTR DoModal();
    // Ends the modal run with `result` once the current message has been handled. Runs nested
    // inside it end as well, each with IDCANCEL unless it was ending already.
    void EndDialog(INT_PTR result);
    bool IsModalRunning() const { return m_bRunning; }

    // Binds the template control `id` to `control` (subclasses it once).
    void DDX_Control(int id, Window& control);

protected:
    // The template's controls exist; the default binds them (DoDataExchange) and returns TRUE so
    // that the system puts the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    bool OnCommand(UINT id, UINT code, HWND source) override;

    // Makes DoModal build the dialog from an in-memory template (kept alive by the caller)
    // instead of the resource template.
    void SetTemplateIndirect(const DLGTEMPLATE* tmpl) { m_pTemplate = tmpl; }

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // Walks from the focus window up to the dialog; true when one of them consumed `msg`.
    bool PreTranslateChain(MSG* msg);
    // Marks this run to end with `result` and wakes its loop.
    void RequestEnd(INT_PTR result);

    UINT m_templateId;
    const DLGTEMPLATE* m_pTemplate = nullptr;
    HWND m_hWndParent;
    bool m_bRunning = false;
    bool m_bEndRequested = false;
    INT_PTR m_nResult = -1;
    Dialog* m_pOuterModal = nullptr;  // the modal dialog that ran when this one started
};

}  // namespace win
