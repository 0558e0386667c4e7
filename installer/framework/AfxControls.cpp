#include "AfxControls.h"

BOOL CButton::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg != WM_DRAWITEM) return CWnd::OnChildNotify(msg, wp, lp, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lp));
    *result = TRUE;
    return TRUE;
}
