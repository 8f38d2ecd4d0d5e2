// The whole name of a list row that shows it cut short, as a tooltip while the pointer rests on
// the row.
#pragma once
#include "win/controls.h"

#include <string>

class CNameTip {
public:
    void Attach(const win::ListCtrl& list);
    void Detach() { m_tip.Destroy(); }
    // A mouse message of the list: the tip follows the row under the pointer.
    void OnMouseEvent(const win::ListCtrl& list, UINT msg, POINT client);
    // The list changed its size: the tip covers its new client area.
    void OnSize(const win::ListCtrl& list) const { m_tip.SetArea(list.GetClientRect()); }
    // A notification the list received; true (with the text given) when it was the tip asking
    // for its text: the row's name when the row cuts it short, else none, and no tip shows.
    bool OnNotify(const win::ListCtrl& list, NMHDR* hdr);

private:
    win::ToolTip m_tip;
    int m_nItem = -1;  // the row under the pointer
    std::wstring m_text;
};
